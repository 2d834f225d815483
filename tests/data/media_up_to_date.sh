#!/bin/bash
# The committed media/ must be exactly what the generator writes today, file for file and byte
# for byte (media/README is written by hand).
set -u
generator="${1:?usage: media_up_to_date.sh BUILD_DIR}/mediagen"
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$generator" "$fresh" || { echo "FAIL: $generator $fresh exited with an error"; exit 1; }
if ! diff -r -q --exclude=README "$fresh" media; then
  echo "FAIL: media/ differs from a fresh generation. Regenerate with: $generator media"
  exit 1
fi
