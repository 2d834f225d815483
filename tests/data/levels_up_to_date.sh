#!/usr/bin/env bash
# Every level file in levels/ is exactly what binhopper-level compiles from its source
# levels/src/NAME.txt, and every source has its level file.
set -u
tool="${1:?usage: levels_up_to_date.sh BUILD_DIR}/binhopper-level"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for source in levels/src/*.txt; do
  name=$(basename "$source" .txt)
  if ! "$tool" compile "$source" "$work/$name.lv"; then
    echo "FAIL: $source does not compile"
    status=1
  elif ! cmp -s "$work/$name.lv" "levels/$name.lv"; then
    echo "FAIL: levels/$name.lv differs from what $source compiles to"
    status=1
  fi
done
for level in levels/*.lv; do
  name=$(basename "$level" .lv)
  case "$name" in edit | play) continue ;; esac
  [ -f "levels/src/$name.txt" ] || { echo "FAIL: $level has no source levels/src/$name.txt"; status=1; }
done
if [ $status -ne 0 ]; then
  echo "Recompile with: for s in levels/src/*.txt; do $tool compile \$s levels/\$(basename \$s .txt).lv; done"
fi
exit $status
