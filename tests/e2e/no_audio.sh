#!/usr/bin/env bash
# With no audio device at all, start-up stops at the audio step with its one fatal line (two
# full stops) on standard output and exit status 1.
set -u
build=$(cd "${1:?usage: no_audio.sh BUILD_DIR}" && pwd)
repo=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r levels media "$work/"
cd "$work"
HEADLESS_NO_AUDIO=1 timeout 60 "$repo/scripts/headless" "$build/binhopper" > out.txt 2> err.txt
code=$?
if [ "$code" -ne 1 ] || ! printf 'FATAL: Unable to initialize audio..\n' | cmp -s - out.txt; then
  echo "FAIL: exit status $code (expected 1), standard output:"
  od -c out.txt | head -5
  exit 1
fi
echo "ok: the fatal line and exit status 1"
