#!/usr/bin/env bash
# Batched drawing puts the same pixels on screen as the old way, one draw call per drawing:
# every shipped level, the title and final scenes and the menu in every theme (see drawcheck).
set -u
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

scripts/headless "$build/drawcheck" --unbatched --write "$work" || { echo "FAIL: drawing the old way"; exit 1; }
scripts/headless "$build/drawcheck" --compare "$work" > "$work/report"
status=$?
grep -E 'TOO MANY|drawcheck' "$work/report"
[ "$(ls "$work"/*.png | wc -l)" -ge 100 ] || { echo "FAIL: fewer scenes than levels times themes"; exit 1; }
exit "$status"
