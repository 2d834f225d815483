#!/usr/bin/env bash
# The title background and the final screens (the built-in one and each pack's own) hold no
# avatar and nothing that needs one, and in a minute of play nothing in them falls, is lost or
# leaves its place.
set -u
build="${1:?usage: shipped_levels.sh BUILD_DIR}"
source "$(dirname "$0")/../lib/check.bash"

# Each scene as "FILE INDEX", the index being the one the game plays it under.
scenes=("levels/title.lv -1" "levels/winner.lv -2")
for winner in packs/*/winner.lv; do
  [ -f "$winner" ] && scenes+=("$winner -2")
done

# Kinds that need an avatar in the level (they use it without looking whether there is one),
# as record lines and as grid characters of the level text.
for scene in "${scenes[@]}"; do
  set -- $scene
  found=$("$build/binhopper-level" dump "$1" | awk '
    /^#/ { next }
    $0 == "grid" { grid = 1; next }
    $0 == "end" { grid = 0; next }
    grid { if ($0 ~ /[A*^|-]/) print "grid:" $0; next }
    $1 ~ /^(av|ms|lg|vr|sp|ff)$/ { print $1 }')
  [ -z "$found" ] || fail "$1 holds objects that need an avatar: $found"
done

# Each baddie and bag line of a frame as "kind row"; the multiset must be the same a minute on.
rows_at() {
  awk -v frame="$2" '$1 == "F" { inside = ($2 == frame); next } inside && ($1 == "bd" || $1 == "gb") { print $1, $3 }' \
    "$1" | sort
}
for scene in "${scenes[@]}"; do
  set -- $scene
  "$build/binhopper-sim" "$1" --frames 3600 --index "$2" --trace > "$WORK/scene.out" ||
    fail "$1 does not run a minute in the simulator"
  first=$(rows_at "$WORK/scene.out" 1)
  last=$(rows_at "$WORK/scene.out" 3600)
  [ -n "$first" ] || fail "$1 has no baddie or bag to watch"
  [ "$first" = "$last" ] || fail "$1 changed in a minute: '$first' became '$last'"
done

finish "the ${#scenes[@]} scenes need no avatar and stay put for a minute"
