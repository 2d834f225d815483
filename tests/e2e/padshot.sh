#!/usr/bin/env bash
# padshot plays a level on the pad through the game's play state: the stick walks the avatar
# into the spikes and the death report is drawn over the top; a script that never touches the
# pad, or a bad level index, is refused with status 1.
set -u
build="$1"
source "$(dirname "$0")/../lib/check.bash"

# Row 10: the avatar on a floor, spikes seven cells to its right.
printf 'grid%10s\n.A......^^\n0000000000\nend\n' | tr ' ' '\n' > "$WORK/level.txt"
"$build/binhopper-level" compile "$WORK/level.txt" "$WORK/level.lv" || fail "compile"

blue_at_report() {  # the blue of pixel (400, 60), inside the report panel when one is drawn
  convert "$1" -format "%[fx:int(255*p{400,60}.b+0.5)]" info:
}

# Label, level index, script (";" between lines), exit status, and whether the report shows.
while IFS='|' read -r label index script status report; do
  tr ';' '\n' <<<"$script" > "$WORK/script.txt"
  rm -f "$WORK/shot.png"
  scripts/headless "$build/padshot" "$WORK/level.lv" "$index" "$WORK/script.txt" "$WORK/shot.png" 2> "$WORK/err"
  got=$?
  [ "$got" = "$status" ] || { fail "$label: exit $got, not $status: $(cat "$WORK/err")"; continue; }
  [ "$status" = 0 ] || continue
  blue=$(blue_at_report "$WORK/shot.png")
  if [ "$report" = yes ]; then
    [ "$blue" -lt 150 ] || fail "$label: no report panel over the top (blue $blue)"
  else
    [ "$blue" -ge 200 ] || fail "$label: the top is not sky (blue $blue)"
  fi
done <<'ROWS'
the stick walks into the spikes|0|60 R;60 -|0|yes
a touch of the stick, then standing still|0|1 L;119 -|0|no
a script that never touches the pad|0|120 -|1|
a level index that is no number|x|60 R|1|
ROWS

finish "padshot: all checks passed"
