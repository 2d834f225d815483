#!/usr/bin/env bash
# Closing the window on the title menu ends the game with status 0, printing nothing, and
# saves the progress.
source "$(dirname "$0")/lib/game.bash"

scenario() {
  start_game || return 1
  "$E2E_BUILD/xclose" "$WINDOW"
  expect_exit 0 "after closing the window"
  expect_progress_saved
  [ -s game_output.txt ] && fail "the game printed: $(cat game_output.txt)"
  return 0
}

e2e_main "$@"
