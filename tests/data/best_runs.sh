#!/usr/bin/env bash
# Every shipped campaign ships each solution it carries as the level's best run, and each of
# those files is exactly what binhopper-sim --record makes of the solution today (so it was
# recorded on the level file as it stands): no run missing, stale or left over.
set -u
BUILD=${1:?usage: $0 BUILD_DIR}
source "$(dirname "$0")/../lib/check.bash"

scripts/best-runs "$BUILD" "$WORK" || fail "scripts/best-runs failed"
runs=0
for folder in levels packs/*/; do
  folder=${folder%/}
  [ -d "$folder/solutions" ] || continue
  while read -r line; do fail "$folder: $line"; done < <(diff -r "$WORK/$folder/replays" "$folder/replays" 2>&1)
  runs=$((runs + $(find "$WORK/$folder/replays" -name '*.rpl' | wc -l)))
done
[ "$runs" -gt 0 ] || fail "no shipped best run made"
[ "$FAILURES" -eq 0 ] || echo "Make them again with: scripts/best-runs $BUILD"
finish "all $runs shipped best runs are their solutions as recorded today"
