#!/bin/bash
# Every numbered level is winnable with both crowns: its input script in levels/solutions/N.txt
# replays through binhopper-sim to a completion (status 2) with all the loose garbage and an
# elapsed time strictly below the level's target time. For levels 1 to 14 the time must also lie
# within 70-97 % of the target, so that the silver crown is a real challenge and not a gift.
# Each replay's whole trace must be the one kept in tests/sim/levels/traces/N.trace.gz: any
# change to a rule, a number or the order of a frame's steps that touches a shipped level shows
# here, even where no hand-worked test looks, with the first lines that differ.
BUILD=${1:?usage: $0 BUILD_DIR}
LEVELS=16
# The target times of the table in docs/levels.md, which a unit test holds to the game's own.
mapfile -t TARGETS < <(awk -F'|' '$2 ~ /^ *[0-9]+ *$/ { gsub(/[ s]/, "", $5); print $5 }' docs/levels.md)
source "$(dirname "$0")/../lib/check.bash"

field() {  # field NAME LINE -> the value of NAME=... in an END line
  sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$2"
}

for n in $(seq 1 $LEVELS); do
  level=levels/$n.lv
  script=levels/solutions/$n.txt
  if [ ! -f "$level" ] || [ ! -f "$script" ]; then
    fail "level $n: $level or $script is missing"
    continue
  fi
  trace=$("$BUILD/binhopper-sim" "$level" --inputs "$script" --index $((n - 1)) --trace)
  end=$(tail -n 1 <<<"$trace")
  kept=tests/sim/levels/traces/$n.trace.gz
  if ! cmp -s <(gzip -dc "$kept") <(printf '%s\n' "$trace"); then
    line=$(cmp <(gzip -dc "$kept") <(printf '%s\n' "$trace") 2>&1 | sed -n 's/.* line \([0-9]*\).*/\1/p')
    frame=$(gzip -dc "$kept" | head -n "${line:-1}" | awk '$1 == "F" { f = $2 } END { print f + 0 }')
    fail "level $n: the solution's trace is not the one kept in $kept from frame $frame on;" \
      "the first differences (< kept, > now):"
    diff <(gzip -dc "$kept") <(printf '%s\n' "$trace") | head -n 12 | sed 's/^/    /'
    echo "    (a change an issue asks for is kept with: $BUILD/binhopper-sim $level --inputs $script" \
      "--index $((n - 1)) --trace | gzip -9n > $kept)"
  fi
  status=$(field status "$end")
  elapsed=$(field elapsed "$end")
  garbage=$(field garbage "$end")
  loose=$(field loose "$end")
  target=${TARGETS[$((n - 1))]}
  [ "$status" = 2 ] || fail "level $n: status $status, not completed ($end)"
  [ "$garbage" = "$loose" ] || fail "level $n: garbage $garbage of $loose collected"
  awk -v e="$elapsed" -v t="$target" 'BEGIN { exit !(e < t) }' ||
    fail "level $n: elapsed $elapsed is not below the target $target"
  if [ "$n" -le 14 ]; then
    awk -v e="$elapsed" -v t="$target" 'BEGIN { exit !(e >= 0.70 * t && e <= 0.97 * t) }' ||
      fail "level $n: elapsed $elapsed is outside 70-97 % of the target $target"
  fi
  echo "level $n: elapsed $elapsed of target $target, garbage $garbage/$loose"
done

finish "all $LEVELS level solutions replay with both crowns"
