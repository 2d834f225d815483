#!/usr/bin/env bash
# The folders of src/ form layers that include only downwards (docs/architecture.md):
#   app < world < entities, themes < campaign, replay < gui < states < editor, sim < pack_tools
#   < game (with src/main.cpp).
# Folders of one rank (entities and themes, campaign and replay, editor and sim) stand side by
# side and include neither each other nor anything above.
# Every `#include "folder/..."` line of src/ is checked; one line per offending include.
set -u

# Prints one FAIL line per include of the tree that does not point down and exits 1 if any.
check_tree() {
  grep -rnE '^#include "[^/"]+/' "$1" --include='*.h' --include='*.cpp' | awk -v root="$1/" '
    BEGIN {
      split("app world entities themes campaign replay gui states editor sim pack_tools game", names, " ")
      split("0 1 2 2 3 3 4 5 6 6 7 8", ranks, " ")
      for (i in names) rank[names[i]] = ranks[i]
    }
    {
      split($0, where, ":")
      from = substr(where[1], length(root) + 1)
      from = index(from, "/") ? substr(from, 1, index(from, "/") - 1) : "game" # src/main.cpp
      to = $0
      sub(/^[^"]*"/, "", to)
      sub(/\/.*/, "", to)
      if (from == to) next
      if (!(from in rank) || !(to in rank)) {
        printf "FAIL: %s:%s: \"%s\" or \"%s\" has no place among the layers\n", where[1], where[2], from, to
        bad++
      } else if (rank[to] >= rank[from]) {
        printf "FAIL: %s:%s: %s includes %s, which is not below it\n", where[1], where[2], from, to
        bad++
      }
    }
    END { exit bad > 0 }'
}

# The check itself must catch an upward include and one between the two side-by-side folders,
# and let a downward one through.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{entities,themes,world}
echo '#include "states/play_state.h"' >"$work/entities/up.cpp"
echo '#include "entities/cloud.h"' >"$work/themes/side.cpp"
echo '#include "app/sheet.h"' >"$work/world/down.cpp"
caught=$(check_tree "$work" | grep -c FAIL)
if [ "$caught" -ne 2 ]; then
  echo "FAIL: the check found $caught bad includes in a tree holding 2"
  exit 1
fi

check_tree src && echo "every include of src/ points down"
