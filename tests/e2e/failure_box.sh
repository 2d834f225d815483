#!/usr/bin/env bash
# Started as a launcher starts it (standard output no terminal) on a desktop, a game that cannot
# go on shows why in a message box as well as on standard output: here its font is missing. The
# line names the data directories searched; the game waits for the box and ends with status 1
# once it is closed.
export HEADLESS_DIALOGS=1
source "$(dirname "$0")/lib/game.bash"

prepare() {
  rm media/font.ttf
}

# Every window titled "Binhopper" that is shown: the game's, and then the box.
shown_windows() { xdotool search --onlyvisible --name '^Binhopper$' 2>/dev/null; }
box_shown() { [ "$(shown_windows | wc -l)" -ge 2 ]; }

scenario() {
  # The message box's toolkit keeps blocks of its own to the end; they are no leak of the game's.
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "$E2E_BUILD/binhopper" > game_output.txt 2>&1 &
  GAME_PID=$!
  # The toolkit starts only for the box: slow under the sanitizers on a busy machine.
  wait_until $PATIENCE box_shown || { fail "no message box appeared: $(cat game_output.txt)"; return 1; }
  grep -qx "Unable to find resource: 'media/font.ttf'." game_output.txt || fail "no loader's line: $(cat game_output.txt)"
  grep -qF "The game's data was looked for in the working directory $PWD and beside the program in " game_output.txt &&
    grep -qF "BINHOPPER_DATA is not set (BINHOPPER_DATA names the folder" game_output.txt ||
    fail "no data directories: $(cat game_output.txt)"
  game_running || fail "the game did not wait for the box to be closed"
  local window
  for window in $(shown_windows); do "$E2E_BUILD/xclose" "$window"; done
  expect_exit 1 "after the box was closed"
  return 0
}

e2e_main "$@"
