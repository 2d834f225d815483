# Shared steps of the end-to-end tests that drive the real game with xdotool.
#
# A test script sources this file, defines a function `scenario`, and calls `e2e_main "$@"`.
# Outside the headless runner, e2e_main makes a temporary working directory holding copies of
# levels/ and media/ (and lets an optional function `prepare` add files there), then runs the
# same script again under scripts/headless, where `scenario` runs in that directory. The test
# passes when `scenario` returns 0 and no check failed.

E2E_REPO=$PWD
LEAK_CHECKER_CRASH="LeakSanitizer has encountered a fatal error"
source "$E2E_REPO/tests/lib/check.bash"

e2e_main() {
  if [ "${1:-}" = --inside ]; then
    E2E_BUILD=$2
    cd "$3" || exit 1
    scenario
    local code=$?
    [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null && kill "$GAME_PID"
    [ "$code" -eq 0 ] || fail "the scenario stopped early"
    finish
  fi
  local build attempt output status
  build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
  for attempt in 1 2 3; do
    rm -rf "$WORK" && mkdir -p "$WORK"
    cp -r "$E2E_REPO/levels" "$E2E_REPO/media" "$WORK/"
    if declare -F prepare >/dev/null; then (cd "$WORK" && prepare) || exit 1; fi
    output=$("$E2E_REPO/scripts/headless" bash "$0" --inside "$build" "$WORK" 2>&1)
    status=$?
    echo "$output"
    # Under load the leak checker itself now and then fails as the sanitized game exits
    # ("Tracer caught signal 11"), before it has checked anything: such a run proves nothing
    # either way, so the test runs again from the start. A leak it finds, any other failure and
    # a third such crash still fail. expect_exit shows the game's output, where the crash stands.
    if [ $status -eq 0 ] || [ $attempt = 3 ] || [[ $output != *"$LEAK_CHECKER_CRASH"* ]]; then exit $status; fi
    echo "(the leak checker crashed, not the game: the test runs again)"
  done
}

# Starts the game with the given arguments, waits for its window and focuses it. The window
# appears before the first frame is drawn, and keys pressed before the loop runs are lost, so
# it waits until the window shows a picture.
start_game() {
  "$E2E_BUILD/binhopper" "$@" > game_output.txt 2>&1 &
  GAME_PID=$!
  WINDOW=$(timeout $PATIENCE xdotool search --sync --name '^Binhopper$' | head -n 1)
  if [ -z "$WINDOW" ]; then
    fail "no game window appeared"
    return 1
  fi
  xdotool windowfocus --sync "$WINDOW"
  wait_until $PATIENCE picture_shown || { fail "the window stayed black"; return 1; }
}

picture_shown() {
  screenshot first_frame.png 2>/dev/null && [ "$(convert first_frame.png -format '%[fx:mean>0.05]' info:)" = 1 ]
}

# Waits up to $PATIENCE s, taking a screenshot into FILE each time, until the test's CONDITION holds
# for it: settle FILE CONDITION. The game draws a changed scene a frame or two after the input
# that changed it, and a loaded machine may take much longer, so a fixed pause is no measure.
settle() {
  wait_until $PATIENCE shot_meets "$@"
}

shot_meets() {
  screenshot "$1" && "$2" "$1"
}

# The game polls the keyboard once a frame, so a key is held for several frames.
press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.15
}

# Moves the pointer to (x, y) in the window and presses and releases a mouse button there
# (1 primary, 3 secondary; default 1).
click_at() {
  xdotool mousemove --window "$WINDOW" "$1" "$2"
  sleep 0.1
  xdotool mousedown "${3:-1}"
  sleep 0.15
  xdotool mouseup "${3:-1}"
  sleep 0.15
}

# One notch of the mouse wheel: up (button 4) or down (button 5).
wheel() {
  if [ "$1" = up ]; then xdotool click 4; else xdotool click 5; fi
  sleep 0.15
}

# A window that closes while it is read can leave the reader waiting for ever.
screenshot() {
  timeout $PATIENCE import -window "$WINDOW" "$1"
}

# Mean colour of a rectangle of a screenshot as "R G B" in 0..255: FILE X Y WIDTH HEIGHT.
mean_colour() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage \
    -format '%[fx:round(mean.r*255)] %[fx:round(mean.g*255)] %[fx:round(mean.b*255)]' info:
}

# How many near-white pixels a rectangle of a screenshot holds: FILE X Y WIDTH HEIGHT.
white_pixels() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -fx '(r>0.9&&g>0.9&&b>0.9)?1:0' \
    -format '%[fx:round(mean*w*h)]' info:
}

# The sum of the mean red, green and blue of the strip where a pop-up's first line stands.
top_strip() {
  local r g b
  read -r r g b <<< "$(mean_colour "$1" 20 10 400 40)"
  echo $((r + g + b))
}

# While the menu shows, the quit button's dark face is much darker than the sky just above
# it, even with a cloud passing behind both; in a level both places show the same sky.
menu_visible() {
  local r g b face sky
  read -r r g b <<< "$(mean_colour "$1" 310 536 30 18)"
  face=$((r + g + b))
  read -r r g b <<< "$(mean_colour "$1" 310 506 30 18)"
  sky=$((r + g + b))
  [ $((face + 120)) -lt "$sky" ]
}

game_running() {
  kill -0 "$GAME_PID" 2>/dev/null
}

# Waits up to SECONDS for the game to end and sets EXIT_CODE to its exit status, or to
# "running" when it has not ended. (Not for $(...): only this shell can wait for the game.)
wait_for_exit() {
  local deadline=$((SECONDS + $1))
  while game_running && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
  if game_running; then
    EXIT_CODE=running
  else
    wait "$GAME_PID"
    EXIT_CODE=$?
  fi
}

# Waits for the game to end and checks its status: expect_exit STATUS WHEN. The sanitized
# game on a busy machine can take many seconds to shut down; a healthy one ends at once. A
# wrong status shows the end of the game's output, where a sanitizer says what it caught.
expect_exit() {
  wait_for_exit $PATIENCE
  [ "$EXIT_CODE" = "$1" ] && return
  fail "exit status $EXIT_CODE $2, expected $1; the game's output ended:"
  tail -n 40 game_output.txt | sed 's/^/  | /'
}

# Presses Escape in the menu until the game ends, up to 30 s: for a moment after a level the
# menu lets an Escape pass (one meant for the level), so the first press may not quit.
quit_with_escape() {
  local deadline=$((SECONDS + 30))
  while game_running && [ $SECONDS -lt $deadline ]; do
    press Escape
    sleep 0.3
  done
}

# The progress file holds 5 + 12 n bytes for the n level files.
expect_progress_saved() {
  local levels=0 size
  while [ -f "levels/$((levels + 1)).lv" ]; do levels=$((levels + 1)); done
  size=$(stat -c %s binhopper.dat 2>/dev/null || echo missing)
  [ "$size" = $((5 + 12 * levels)) ] || fail "binhopper.dat is $size bytes, expected $((5 + 12 * levels))"
}
