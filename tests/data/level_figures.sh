#!/usr/bin/env bash
# The shipped levels of both campaigns meet the figures they are held to together
# (scripts/level-figures): every level uses at least 8 % of the inner screen and paces its
# solution at 72-88 % of its target; most reach high and many start off the floor; every
# mechanic is needed in enough levels; each group of the packs is longer than the one before.
set -u
BUILD=${1:?usage: $0 BUILD_DIR}
source "$(dirname "$0")/../lib/check.bash"

scripts/level-figures --build "$BUILD" --groups 5 --check levels packs/*/ > "$WORK/figures" ||
  fail "the levels miss their figures: $(grep -E 'FAIL|\*\*' "$WORK/figures")"
finish "$(grep '^levels:' "$WORK/figures")"
