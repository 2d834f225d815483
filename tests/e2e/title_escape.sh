#!/usr/bin/env bash
# The game opens on the title menu; Escape ends it with status 0, printing nothing, and writes
# the progress file.
source "$(dirname "$0")/lib/game.bash"

scenario() {
  start_game || return 1
  screenshot menu.png
  menu_visible menu.png || fail "the menu's quit button is not on screen"
  press Escape
  expect_exit 0 "after Escape"
  expect_progress_saved
  [ -s game_output.txt ] && fail "the game printed: $(cat game_output.txt)"
  return 0
}

e2e_main "$@"
