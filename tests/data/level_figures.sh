#!/usr/bin/env bash
# scripts/level-figures counts what a player meets: planted levels show a sealed room and a
# cellar that must not count as area nor as a floor to start above, a sealed baddie and sealed
# spikes that are no mechanic of the route while spikes far below it are, a look used for both
# jobs and a sign under a bag. The campaigns listed below meet every figure (each level at
# least 8 % of the inner screen in reach and its solution at 72-88 % of its target, 50-88 % for
# 100 s; most levels high, many starting off the floor, every mechanic met in enough levels,
# each group of a pack longer than the one before) or keep one look per job and every sign clear.
set -u
BUILD=${1:?usage: $0 BUILD_DIR}
source "$(dirname "$0")/../lib/check.bash"
source "$(dirname "$0")/../lib/planted.bash"

# The campaigns held to each check: a designer adds a campaign's folder once the check passes
# on it (see docs/levels.md, "Checking a campaign").
FIGURE_CAMPAIGNS="levels packs/overtime"
LOOK_CAMPAIGNS="levels packs/overtime"

planted sealed
scripts/level-figures --build "$BUILD" "$WORK/sealed" > "$WORK/sealed.out" || fail "figures of the planted levels failed"
# level | area | high | start | mechanics | the area mark, if any
while IFS='|' read -r level area high start mechanics area_missed; do
  got=$(awk -F' *[|] *' -v level="$level" '$2 ~ "^" level " " {
    print $3 "|" $4 "|" $5 "|" $6 "|" ($8 ~ /[*][*]area/ ? "missed" : "met") }' "$WORK/sealed.out")
  [ "$got" = "$area|$high|$start|$mechanics|$area_missed" ] ||
    fail "$level: expected '$area|$high|$start|$mechanics|$area_missed', got '$got'"
done <<'ROWS'
sealed/1|6.8 %|no|floor||missed
sealed/2|8.6 %|yes|off floor|t s|met
ROWS

planted looks
scripts/level-figures --build "$BUILD" --looks --check "$WORK/looks" > "$WORK/looks.out" &&
  fail "a look used for both jobs passed"
for expected in \
  "looks/1 Fixed ledge: looks and signs in order" \
  "looks/2 Switched ledge: look 1 switched at 10,16 (a fixed wall since level 1)" \
  "looks/3 Apart: looks and signs in order" \
  "looks/4 Covered sign: sign at 8,19 shares its cell with gb"; do
  grep -qxF "$expected" "$WORK/looks.out" || fail "expected '$expected' in: $(cat "$WORK/looks.out")"
done

for campaign in $LOOK_CAMPAIGNS; do
  scripts/level-figures --build "$BUILD" --looks --check "$campaign" > "$WORK/campaign-looks" ||
    fail "$campaign: $(grep -v "in order$" "$WORK/campaign-looks")"
done
if [ -n "$FIGURE_CAMPAIGNS" ]; then
  holds=$(for campaign in $FIGURE_CAMPAIGNS; do printf -- '--hold %s ' "$(basename "$campaign")"; done)
  # shellcheck disable=SC2086 # one word per option
  scripts/level-figures --build "$BUILD" --groups 5 --check $holds levels packs/*/ > "$WORK/figures" ||
    fail "the levels miss their figures: $(grep -E 'FAIL|\*\*' "$WORK/figures")"
fi
finish "figures held in: ${FIGURE_CAMPAIGNS:-no campaign yet}; looks in: ${LOOK_CAMPAIGNS:-no campaign yet}"
