"""Turns a design file into the level text form of docs/level-text.md.

Order of records: message signs, levers and press pads first (so switches set their channels
before bodies move), then one grid block with tiles and every other grid-drawable object in
row-by-row order, then containers (so they see bags where they are after this frame's move).
"""

import sys

import design

GRID_CHARS = {"#": "0", "@": "A", "b": "b", "*": "*", "^": "^", "|": "|", "=": "-", "t": "t",
              "f": "f", "!": "F"}


def convert(text, number=None):
    meta, grid, legend = design.parse(text)
    head = []
    switches = []
    conts = []
    out_grid = []
    for r, row in enumerate(grid):
        line = []
        for c, ch in enumerate(row):
            if ch in legend:
                spec = legend[ch].split(None, 1)
                kind, rest = spec[0], (spec[1] if len(spec) > 1 else "")
                if kind == "message":
                    txt = rest.replace("\\", "\\\\").replace('"', '\\"')
                    head.append('ms %d %d "%s"' % (c, r, txt))
                elif kind == "lever":
                    ch_, st = rest.split()
                    switches.append("vr %d %d %s %s" % (c, r, ch_, st))
                elif kind == "pad":
                    ch_, st = rest.split()
                    switches.append("pr %d %d %s %s" % (c, r, ch_, st))
                elif kind == "container":
                    conts.append("ct %d %d %s" % (c, r, rest or "1"))
                elif kind == "tile":
                    line.append(rest.strip())
                    continue
                line.append(".")
            elif ch in "1234":
                line.append(ch)
            elif ch == ".":
                line.append(".")
            else:
                line.append(GRID_CHARS[ch])
        out_grid.append("".join(line).rstrip(".") or ".")
    while out_grid and out_grid[-1] == ".":
        out_grid.pop()
    lines = []
    title = meta.get("name", "")
    lines.append("# Level %s: %s" % (number, title) if number else "# %s" % title)
    for k in ("about",):
        if k in meta:
            lines.append("# " + meta[k])
    if head:
        lines.append("")
        lines.append("# Signs")
        lines += head
    if switches:
        lines.append("")
        lines.append("# Switches")
        lines += switches
    lines.append("")
    lines.append("grid")
    lines += out_grid
    lines.append("end")
    if conts:
        lines.append("")
        lines.append("# Bins")
        lines += conts
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    src, dst = sys.argv[1], sys.argv[2]
    num = sys.argv[3] if len(sys.argv) > 3 else None
    open(dst, "w").write(convert(open(src).read(), num))
