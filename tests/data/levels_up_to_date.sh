#!/usr/bin/env bash
# Every level file in levels/ is exactly what binhopper-level compiles from its source
# levels/src/NAME.txt, every source has its level file, and each level dumped to text compiles
# back to the same bytes.
set -u
tool="${1:?usage: levels_up_to_date.sh BUILD_DIR}/binhopper-level"
source "$(dirname "$0")/../lib/check.bash"
for source in levels/src/*.txt; do
  name=$(basename "$source" .txt)
  if ! "$tool" compile "$source" "$WORK/$name.lv"; then
    fail "$source does not compile"
  elif ! cmp -s "$WORK/$name.lv" "levels/$name.lv"; then
    fail "levels/$name.lv differs from what $source compiles to"
  fi
done
for level in levels/*.lv; do
  name=$(basename "$level" .lv)
  case "$name" in edit | play) continue ;; esac
  [ -f "levels/src/$name.txt" ] || fail "$level has no source levels/src/$name.txt"
  "$tool" dump "$level" > "$WORK/dumped.txt" && "$tool" compile "$WORK/dumped.txt" "$WORK/again.lv" &&
    cmp -s "$level" "$WORK/again.lv" || fail "$level does not survive a dump and compile"
done
if [ "$FAILURES" -ne 0 ]; then
  echo "Recompile with: for s in levels/src/*.txt; do $tool compile \$s levels/\$(basename \$s .txt).lv; done"
fi
finish "every level file is what its source compiles to"
