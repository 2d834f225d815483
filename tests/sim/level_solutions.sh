#!/bin/bash
# Every numbered level is winnable with both crowns: its input script replays through
# binhopper-sim to a completion (status 2) with all the loose garbage and an elapsed time
# strictly below the level's target time (as its campaign's pack.txt gives it), and within
# 72-88 % of it (50-88 % of the long puzzles' 100 s, whose length comes from their ideas), so
# that the silver crown is a real challenge and not a gift. The built-in levels' scripts are
# levels/solutions/N.txt; each shipped campaign in packs/ holds its scripts in its own
# solutions/ folder.
# Each replay's whole trace must be the one kept in tests/sim/levels/traces/N.trace.gz (a pack's
# in traces/FOLDER/N.trace.gz): any change to a rule, a number or the order of a frame's steps
# that touches a shipped level shows here, even where no hand-worked test looks, with the first
# lines that differ.
BUILD=${1:?usage: $0 BUILD_DIR}
LEVELS=16
TRACES=tests/sim/levels/traces
source "$(dirname "$0")/../lib/check.bash"

targets() {  # targets PACK_TXT -> "N TARGET" for each level line of a campaign's pack.txt
  sed -n 's/^ *level *\([0-9]*\) *= *\([0-9.]*\).*/\1 \2/p' "$1"
}

field() {  # field NAME LINE -> the value of NAME=... in an END line
  sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$2"
}

# replay KEY LEVEL SCRIPT INDEX TARGET: checks the replay's trace against the one kept as
# $TRACES/KEY.trace.gz, its crowns, and that its time lies within the pace band of the target.
replay() {
  local key=$1 level=$2 script=$3 index=$4 target=$5 low=0.72 high=0.88
  awk -v t="$target" 'BEGIN { exit !(t >= 100) }' && low=0.50
  if [ ! -f "$level" ] || [ ! -f "$script" ]; then
    fail "level $key: $level or $script is missing"
    return
  fi
  local trace end kept line frame status elapsed garbage loose
  trace=$("$BUILD/binhopper-sim" "$level" --inputs "$script" --index "$index" --trace)
  end=$(tail -n 1 <<<"$trace")
  kept=$TRACES/$key.trace.gz
  if ! cmp -s <(gzip -dc "$kept") <(printf '%s\n' "$trace"); then
    line=$(cmp <(gzip -dc "$kept") <(printf '%s\n' "$trace") 2>&1 | sed -n 's/.* line \([0-9]*\).*/\1/p')
    frame=$(gzip -dc "$kept" | head -n "${line:-1}" | awk '$1 == "F" { f = $2 } END { print f + 0 }')
    fail "level $key: the solution's trace is not the one kept in $kept from frame $frame on;" \
      "the first differences (< kept, > now):"
    diff <(gzip -dc "$kept") <(printf '%s\n' "$trace") | head -n 12 | sed 's/^/    /'
    echo "    (a change an issue asks for is kept with: $BUILD/binhopper-sim $level --inputs $script" \
      "--index $index --trace | gzip -9n > $kept)"
  fi
  status=$(field status "$end")
  elapsed=$(field elapsed "$end")
  garbage=$(field garbage "$end")
  loose=$(field loose "$end")
  [ "$status" = 2 ] || fail "level $key: status $status, not completed ($end)"
  [ "$garbage" = "$loose" ] || fail "level $key: garbage $garbage of $loose collected"
  awk -v e="$elapsed" -v t="$target" 'BEGIN { exit !(e < t) }' ||
    fail "level $key: elapsed $elapsed is not below the target $target"
  awk -v e="$elapsed" -v t="$target" -v l="$low" -v h="$high" 'BEGIN { exit !(e >= l * t && e <= h * t) }' ||
    fail "level $key: elapsed $elapsed is outside $low-$high of the target $target"
  echo "level $key: elapsed $elapsed of target $target, garbage $garbage/$loose"
}

while read -r n target; do
  replay "$n" "levels/$n.lv" "levels/solutions/$n.txt" $((n - 1)) "$target"
done < <(targets levels/pack.txt)
[ "$(targets levels/pack.txt | wc -l)" = "$LEVELS" ] || fail "levels/pack.txt does not list $LEVELS levels"

packs=0
for pack in packs/*/pack.txt; do
  [ -f "$pack" ] || continue
  folder=$(dirname "$pack")
  packs=$((packs + 1))
  while read -r n target; do
    replay "$(basename "$folder")/$n" "$folder/$n.lv" "$folder/solutions/$n.txt" $((n - 1)) "$target"
  done < <(targets "$pack")
done

finish "all $LEVELS built-in level solutions and those of $packs pack(s) replay with both crowns"
