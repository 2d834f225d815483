#!/usr/bin/env bash
# The game opens on the title menu; Escape ends it with status 0 and writes the progress file,
# 5 + 12 n bytes for n level files.
source "$(dirname "$0")/lib/game.bash"

scenario() {
  start_game || return 1
  screenshot menu.png
  menu_visible menu.png || fail "the menu's quit button is not on screen"
  press Escape
  wait_for_exit 10
  [ "$EXIT_CODE" = 0 ] || fail "exit status $EXIT_CODE, expected 0"
  local levels=0
  while [ -f "levels/$((levels + 1)).lv" ]; do levels=$((levels + 1)); done
  local size
  size=$(stat -c %s binhopper.dat 2>/dev/null || echo missing)
  [ "$size" = $((5 + 12 * levels)) ] || fail "binhopper.dat is $size bytes, expected $((5 + 12 * levels))"
  [ -s game_output.txt ] && fail "the game printed: $(cat game_output.txt)"
  return 0
}

e2e_main "$@"
