#!/usr/bin/env bash
# With no audio device at all, start-up stops at the audio step with its one fatal line
# (two full stops) on standard output and exit status 1.
set -u
build=$(cd "${1:?usage: no_audio.sh BUILD_DIR}" && pwd)
repo=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for data in levels media; do
  if [ -d "$repo/$data" ]; then cp -r "$repo/$data" "$work/"; fi
done

cd "$work"
HEADLESS_NO_AUDIO=1 timeout 60 "$repo/scripts/headless" "$build/binhopper" > out.txt 2> err.txt
code=$?
expected='FATAL: Unable to initialize audio..'
if [ "$code" -ne 1 ] || [ "$(cat out.txt)" != "$expected" ] || [ "$(tail -c 1 out.txt | od -An -c | tr -d ' ')" != '\n' ]; then
  echo "FAIL: exit status $code (expected 1), standard output:"
  od -c out.txt | head -5
  echo "expected: '$expected' and a line break"
  exit 1
fi
echo "ok: '$expected', exit status 1"
