#!/usr/bin/env bash
# With no audio device at all, start-up stops at the audio step with its one fatal line (two
# full stops) on standard output and exit status 1.
set -u
build=$(cd "${1:?usage: no_audio.sh BUILD_DIR}" && pwd)
repo=$PWD
source "$repo/tests/lib/check.bash"
cp -r levels media "$WORK/"
cd "$WORK"
HEADLESS_NO_AUDIO=1 timeout $PATIENCE "$repo/scripts/headless" "$build/binhopper" > out.txt 2> err.txt
code=$?
if [ "$code" -ne 1 ] || ! printf 'FATAL: Unable to initialize audio..\n' | cmp -s - out.txt; then
  fail "exit status $code (expected 1), standard output:"
  od -c out.txt | head -5
fi
finish "the fatal line and exit status 1"
