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
  wait_for_exit 10
  [ "$EXIT_CODE" = 0 ] || fail "exit status $EXIT_CODE after closing the window, expected 0"
  local levels=0
  while [ -f "levels/$((levels + 1)).lv" ]; do levels=$((levels + 1)); done
  local size deaths
  size=$(stat -c %s binhopper.dat 2>/dev/null || echo missing)
  [ "$size" = $((5 + 12 * levels)) ] || fail "binhopper.dat is $size bytes, expected $((5 + 12 * levels))"
  deaths=$(od -A n -t d4 -N 4 binhopper.dat 2>/dev/null | tr -d ' ')
  [ "$deaths" = 1 ] || fail "binhopper.dat counts $deaths deaths, expected the 1 of the level"
  return 0
}

e2e_main "$@"
