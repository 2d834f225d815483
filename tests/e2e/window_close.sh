#!/usr/bin/env bash
# The game opens its window and exits with status 0, printing nothing, when the window's close
# button is pressed, and likewise when Escape ends the top-level state. It runs in a temporary
# working directory holding copies of levels/ and media/, so that nothing lands in the repository.
set -u
build=$(cd "${1:?usage: window_close.sh BUILD_DIR}" && pwd)
repo=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for data in levels media; do
  if [ -d "$repo/$data" ]; then cp -r "$repo/$data" "$work/"; fi
done

# Runs under the headless runner: start the game, wait for its window, end it the given way,
# then report the game's exit status and standard output.
cat > "$work/drive.sh" <<'DRIVE'
set -u
how=$1 build=$2
"$build/binhopper" > out.txt 2>&1 &
game=$!
window=$(timeout 30 xdotool search --sync --name '^binhopper$' | head -n 1)
if [ -z "$window" ]; then
  echo "no game window appeared"
  kill "$game"
  exit 99
fi
# The game may still be starting up when its window appears, and a close request or key press
# that comes before its first state runs is lost: repeat the request until the game ends.
# Switches poll the keyboard once a frame, so Escape is held down rather than tapped.
if [ "$how" = escape ]; then xdotool windowfocus --sync "$window" keydown Escape; fi
for _ in $(seq 1 20); do
  if [ "$how" = close ]; then "$build/xclose" "$window" 2>/dev/null; fi
  sleep 0.5
  kill -0 "$game" 2>/dev/null || break
done
if [ "$how" = escape ]; then xdotool keyup Escape 2>/dev/null; fi
if kill -0 "$game" 2>/dev/null; then
  echo "the game did not end within 10 s"
  kill "$game"
  exit 98
fi
wait "$game"
DRIVE

status=0
for how in close escape; do
  (cd "$work" && "$repo/scripts/headless" bash drive.sh "$how" "$build")
  code=$?
  output=$(cat "$work/out.txt" 2>/dev/null)
  if [ "$code" -ne 0 ] || [ -n "$output" ]; then
    echo "FAIL ($how): exit status $code, expected 0; output: '$output'"
    status=1
  else
    echo "ok ($how): exit status 0, no output"
  fi
done
exit $status
