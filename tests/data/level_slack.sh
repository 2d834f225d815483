#!/usr/bin/env bash
# scripts/level-slack finds a solution input that kills the avatar when a player is a frame or
# two off (a planted one-frame jump) and passes one with room to spare; every input of the
# solutions of the campaigns listed below keeps a window of at least 4 frames.
set -u
BUILD=${1:?usage: $0 BUILD_DIR}
source "$(dirname "$0")/../lib/check.bash"
source "$(dirname "$0")/../lib/planted.bash"

# The campaigns held to it: a designer adds a campaign's folder once
# `scripts/level-slack --check FOLDER` passes (see docs/levels.md, "Checking a campaign").
CAMPAIGNS="levels packs/overtime"
# Every SAMPLE-th input of each, starting from one that moves on each day of the year, keeps
# the suite quick; the whole campaign is the designer's check.
SAMPLE=20

planted jump
scripts/level-slack --build "$BUILD" --check "$WORK/jump" > "$WORK/jump.out"
status=$?
[ "$status" -eq 1 ] || fail "the one-frame jump passed (status $status): $(cat "$WORK/jump.out")"
grep -q '^FAIL: jump/1 line 3: Z press at frame 50: window +0..+0 (1 wide)$' "$WORK/jump.out" ||
  fail "the one-frame jump is not named: $(cat "$WORK/jump.out")"
grep -q '^FAIL: jump/2' "$WORK/jump.out" && fail "the easy jump was failed: $(grep '^FAIL: jump/2' "$WORK/jump.out")"
grep -q '^jump/2: 3 inputs tried, 0 narrower' "$WORK/jump.out" ||
  fail "the easy jump's inputs were not all tried: $(cat "$WORK/jump.out")"

offset=$((10#$(date +%j) % SAMPLE))
for campaign in $CAMPAIGNS; do
  scripts/level-slack --build "$BUILD" --check --every "$SAMPLE" --offset "$offset" "$campaign" > "$WORK/slack" ||
    fail "$campaign (every $SAMPLE-th input from $offset): $(grep FAIL "$WORK/slack")"
done
finish "slack checked in: ${CAMPAIGNS:-no campaign yet}"
