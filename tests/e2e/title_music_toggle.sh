#!/usr/bin/env bash
# The music button stops and restarts the music ten times in a row without a crash or a hang:
# the game still answers Escape at once afterwards and exits with status 0.
source "$(dirname "$0")/lib/game.bash"

scenario() {
  start_game || return 1
  for n in $(seq 1 10); do
    click_at 650 415
    game_running || { fail "the game ended at click $n"; return 1; }
  done
  press Escape
  expect_exit 0 "after ten music switches"
  [ -s game_output.txt ] && fail "the game printed: $(cat game_output.txt)"
  return 0
}

e2e_main "$@"
