"""Tiny helper to place characters into a design grid by (col, row) and print it with a ruler."""
import sys


def blank():
    return [["."] * 40 for _ in range(30)]


def put(g, c, r, ch):
    g[r][c] = ch


def fill(g, c0, r0, c1, r1, ch="#"):
    for r in range(r0, r1 + 1):
        for c in range(c0, c1 + 1):
            g[r][c] = ch


def text(g):
    return "\n".join("".join(row) for row in g)


def show(g):
    print("0123456789" * 4)
    for i, row in enumerate(g):
        print("".join(row), i)
