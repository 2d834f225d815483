#!/bin/bash
# The committed media/ must be exactly what the generator writes today: run it into a
# temporary folder and compare every file byte for byte.
set -u
build_dir=${1:?usage: media_up_to_date.sh BUILD_DIR}
generator="$build_dir/mediagen"
if [ ! -x "$generator" ]; then
  echo "FAIL: no generator at $generator (build the mediagen target)"
  exit 1
fi
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
if ! "$generator" "$fresh"; then
  echo "FAIL: $generator $fresh exited with an error"
  exit 1
fi
status=0
for file in "$fresh"/*; do
  name=$(basename "$file")
  if [ ! -f "media/$name" ]; then
    echo "FAIL: media/$name is missing; the generator makes it"
    status=1
  elif ! cmp -s "$file" "media/$name"; then
    echo "FAIL: media/$name differs from a fresh generation"
    status=1
  fi
done
for file in media/*; do
  name=$(basename "$file")
  if [ "$name" != README ] && [ ! -f "$fresh/$name" ]; then
    echo "FAIL: media/$name is not made by the generator (stale file?)"
    status=1
  fi
done
if [ $status -ne 0 ]; then
  echo "Regenerate with: $generator media"
fi
exit $status
