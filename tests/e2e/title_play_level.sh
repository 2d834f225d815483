#!/usr/bin/env bash
# Clicking level 1 plays it in place of the menu; R restarts it, Escape returns to the menu,
# and "Quit" ends the game with status 0.
source "$(dirname "$0")/lib/game.bash"

scenario() {
  start_game || return 1
  click_at 70 345
  sleep 0.5
  screenshot level.png
  menu_visible level.png && fail "the menu still shows after clicking level 1"
  press r
  sleep 0.5
  screenshot retried.png
  game_running || fail "the game ended on R"
  menu_visible retried.png && fail "R went back to the menu"
  press Escape
  sleep 0.5
  screenshot menu.png
  menu_visible menu.png || fail "Escape did not bring the menu back"
  click_at 400 545
  expect_exit 0 "after Quit"
  return 0
}

e2e_main "$@"
