#!/usr/bin/env bash
# Two games on one progress file (a double click on the launcher): each completes its own half
# of 255 levels with a death before each completion, saving after each, at the same time as the
# other, while a third program reads the file all along. No completion and no death may be
# lost, and no read may find the file empty or torn.
set -u
loop="$1/save-loop"
source "$(dirname "$0")/../lib/check.bash"
rounds=${WRITER_ROUNDS:-3}

completed_count() {  # FILE -> how many records have their completed flag set
  od -A n -t u1 -j 5 -v "$1" | tr -s ' ' '\n' | grep -v '^$' | awk 'NR % 12 == 2 && $1 == 1' | wc -l
}

for ((round = 1; round <= rounds; round++)); do
  file="$WORK/binhopper.dat"
  rm -f "$file" "$WORK/stop"
  "$loop" read "$file" "$WORK/stop" > "$WORK/reader" & reader=$!
  "$loop" play "$file" 0 2 > "$WORK/even" & even=$!
  "$loop" play "$file" 1 2 > "$WORK/odd" & odd=$!
  wait $even || fail "round $round: the first game's save failed: $(cat "$WORK/even")"
  wait $odd || fail "round $round: the second game's save failed: $(cat "$WORK/odd")"
  touch "$WORK/stop"
  wait $reader || fail "round $round: the reader saw a broken file: $(cat "$WORK/reader")"
  deaths=$("$loop" check "$file") || fail "round $round: the file is damaged"
  completed=$(completed_count "$file")
  [ "$completed" = 255 ] || fail "round $round: $completed of 255 completions kept"
  [ "${deaths:-0}" = 255 ] || fail "round $round: $deaths of 255 deaths kept"
  echo "round $round: $completed completions, $deaths deaths kept; reader: $(cat "$WORK/reader")"
done
finish "two games on one file lost nothing"
