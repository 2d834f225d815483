#!/usr/bin/env bash
# Closing the window while a level plays ends the play and the menu, and the game exits with
# status 0 after saving the progress: the death suffered in the level is in the file.
source "$(dirname "$0")/lib/game.bash"

scenario() {
  start_game || return 1
  click_at 70 345             # level 1
  sleep 0.3
  xdotool keydown Left        # off the left edge of the screen: a fall to death
  sleep 1.5
  xdotool keyup Left
  sleep 0.3
  screenshot level.png
  menu_visible level.png && fail "level 1 did not start"
  "$E2E_BUILD/xclose" "$WINDOW"
  expect_exit 0 "after closing the window"
  expect_progress_saved
  local deaths
  deaths=$(od -A n -t d4 -N 4 binhopper.dat 2>/dev/null | tr -d ' ')
  [ "$deaths" = 1 ] || fail "binhopper.dat counts $deaths deaths, expected the 1 of the level"
  return 0
}

e2e_main "$@"
