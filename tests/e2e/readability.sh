#!/usr/bin/env bash
# Every text of the menu, the Options screen, a level's information and the final scene keeps at
# least 4.5:1 against what is drawn around it, in each of the six themes (see tools/textcheck):
# the lowest contrast of each theme is printed.
set -u
build="$1"
output=$(scripts/headless "$build/textcheck")
status=$?
echo "$output"
[ "$(grep -c 'lowest contrast' <<<"$output")" -eq 6 ] || { echo "FAIL: not every theme was measured"; exit 1; }
[ "$status" -eq 0 ] || echo "FAIL: a text falls below 4.5:1"
exit "$status"
