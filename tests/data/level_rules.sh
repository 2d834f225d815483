#!/bin/bash
# The shipped levels keep the rules a program can check (levels_up_to_date.sh checks that each
# .lv is what its source compiles to):
#  - everything lies inside the 40 x 30 grid and uses only the editor's channels 0-4;
#  - no sign text is longer than the message panel shows (90 characters at font size 13);
#  - a numbered level holds exactly one avatar and at least one container, the avatar stands on
#    solid ground once the switches have set their channels, and nothing kills it while it
#    waits for its first half second;
#  - the title and final scenes hold no avatar (they must never count a death).
BUILD=${1:?usage: $0 BUILD_DIR}
MAX_SIGN=90
source "$(dirname "$0")/../lib/check.bash"

# Prints one problem per line for a dumped level, then "avatars N" and "containers N".
survey() {
  awk -v max_sign="$MAX_SIGN" '
    function place(kind, col, row) {
      if (col > 39 || row > 29) printf "%s at (%d, %d) lies outside the grid\n", kind, col, row
    }
    function channel(kind, c) { if (c > 4) printf "%s uses channel %d\n", kind, c }
    /^grid$/ { in_grid = 1; row = 0; next }
    /^end$/ { in_grid = 0; next }
    in_grid {
      if (row > 29 || length($0) > 40) print "grid row " row " lies outside the grid"
      for (i = 1; i <= length($0); i++) {
        ch = substr($0, i, 1)
        if (ch ~ /[0-9]/) channel("tile", ch + 0)
        if (ch == "A") avatars++
      }
      row++
      next
    }
    /^#/ || /^$/ { next }
    {
      place($1, $2, $3)
      if ($1 == "av") avatars++
      if ($1 == "ct") containers++
      if ($1 == "tl" || $1 == "vr" || $1 == "pr") channel($1, $4)
      if ($1 == "ms") {
        text = $0
        sub(/^ms [0-9]+ [0-9]+ "/, "", text)
        sub(/"$/, "", text)
        gsub(/\\"/, "\"", text)
        if (length(text) > max_sign) printf "sign at (%d, %d) is %d characters long\n", $2, $3, length(text)
      }
    }
    END { printf "avatars %d\ncontainers %d\n", avatars, containers }'
}

check_level() {  # check_level NAME KIND(numbered|scene)
  local name=$1 kind=$2 lv=levels/$1.lv report avatars containers
  if [ ! -f "$lv" ]; then
    fail "$name: $lv is missing"
    return
  fi
  report=$("$BUILD/binhopper-level" dump "$lv" | survey)
  while read -r problem; do
    case "$problem" in
      avatars*) avatars=${problem#avatars } ;;
      containers*) containers=${problem#containers } ;;
      *) fail "$name: $problem" ;;
    esac
  done <<<"$report"
  if [ "$kind" = scene ]; then
    [ "$avatars" = 0 ] || fail "$name: a scene must hold no avatar, it holds $avatars"
    return
  fi
  [ "$avatars" = 1 ] || fail "$name: $avatars avatars instead of one"
  [ "$containers" -ge 1 ] || fail "$name: no container, the level could never be completed"
  # Frame 2 is the first in which the avatar sees the channels its switches have set.
  local trace state end
  trace=$("$BUILD/binhopper-sim" "$lv" --frames 30 --trace)
  state=$(awk '$1 == "F" { frame = $2 } frame == 2 && $1 == "av" { print $4; exit }' <<<"$trace")
  [ "$state" = 0 ] || fail "$name: the avatar does not start standing on solid ground (state $state)"
  end=$(tail -n 1 <<<"$trace")
  grep -q ' status=0 ' <<<"$end" || fail "$name: the avatar does not survive its first half second: $end"
}

for n in $(seq 1 16); do check_level "$n" numbered; done
check_level title scene
check_level winner scene

finish "16 levels and 2 scenes keep the level rules"
