#!/usr/bin/env bash
# Clicking level 1 plays it in place of the menu; R restarts it, Escape returns to the menu.
# There the music button stops and restarts the music ten times in a row without a crash or a
# hang, and "Quit" ends the game with status 0.
source "$(dirname "$0")/lib/game.bash"

menu_hidden() { ! menu_visible "$1"; }

scenario() {
  start_game || return 1
  click_at 70 345
  settle level.png menu_hidden || fail "the menu still shows after clicking level 1"
  press r
  screenshot retried.png
  game_running || fail "the game ended on R"
  menu_visible retried.png && fail "R went back to the menu"
  press Escape
  settle menu.png menu_visible || fail "Escape did not bring the menu back"
  for n in $(seq 1 10); do
    click_at 650 415
    game_running || { fail "the game ended at music click $n"; return 1; }
  done
  click_at 400 545
  expect_exit 0 "after ten music switches and Quit"
  [ -s game_output.txt ] && fail "the game printed: $(cat game_output.txt)"
  return 0
}

e2e_main "$@"
