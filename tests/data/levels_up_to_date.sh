#!/usr/bin/env bash
# In every shipped campaign folder (levels/ and each packs/*/), every level file is exactly what
# binhopper-level compiles from its source src/NAME.txt there, every source has its level file,
# and each level dumped to text compiles back to the same bytes.
set -u
tool="${1:?usage: levels_up_to_date.sh BUILD_DIR}/binhopper-level"
source "$(dirname "$0")/../lib/check.bash"
for folder in levels packs/*/; do
  folder=${folder%/}
  [ -d "$folder" ] || continue
  for source in "$folder"/src/*.txt; do
    [ -e "$source" ] || continue
    name=$(basename "$source" .txt)
    if ! "$tool" compile "$source" "$WORK/$name.lv"; then
      fail "$source does not compile"
    elif ! cmp -s "$WORK/$name.lv" "$folder/$name.lv"; then
      fail "$folder/$name.lv differs from what $source compiles to"
    fi
  done
  for level in "$folder"/*.lv; do
    [ -e "$level" ] || continue
    name=$(basename "$level" .lv)
    case "$name" in edit | play) continue ;; esac
    [ -f "$folder/src/$name.txt" ] || fail "$level has no source $folder/src/$name.txt"
    "$tool" dump "$level" > "$WORK/dumped.txt" && "$tool" compile "$WORK/dumped.txt" "$WORK/again.lv" &&
      cmp -s "$level" "$WORK/again.lv" || fail "$level does not survive a dump and compile"
  done
done
if [ "$FAILURES" -ne 0 ]; then
  echo "Recompile with: for s in levels/src/*.txt packs/*/src/*.txt; do" \
    "$tool compile \$s \$(dirname \$(dirname \$s))/\$(basename \$s .txt).lv; done"
fi
finish "every level file is what its source compiles to"
