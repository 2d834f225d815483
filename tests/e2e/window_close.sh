#!/usr/bin/env bash
# The game opens on the title menu and ends with status 0, printing nothing and saving the
# progress, both on Escape and when the window's close button is pressed.
source "$(dirname "$0")/lib/game.bash"

scenario() {
  start_game || return 1
  screenshot menu.png
  menu_visible menu.png || fail "the menu's quit button is not on screen"
  press Escape
  expect_exit 0 "after Escape"
  expect_progress_saved
  [ -s game_output.txt ] && fail "the game printed on Escape: $(cat game_output.txt)"
  rm binhopper.dat
  start_game || return 1
  "$E2E_BUILD/xclose" "$WINDOW"
  expect_exit 0 "after closing the window"
  expect_progress_saved
  [ -s game_output.txt ] && fail "the game printed on closing: $(cat game_output.txt)"
  return 0
}

e2e_main "$@"
