#!/usr/bin/env bash
# The options screen in the real game: the effects volume turned down and the key for left
# moved to A are in the settings file after the game ends; the next run reads them, a level
# is reached from the menu with the keyboard alone, and there A walks left while the arrow no
# longer does. Both choices survive the second run, so they were read, not written over.
source "$(dirname "$0")/lib/game.bash"

# Level 1 of the test's copy is a floor open at the left edge, so walking left is a sure death.
prepare() {
  { echo "av 2 27"; for column in $(seq 0 39); do echo "tl $column 28 0"; done; } > open_edge.txt
  "$build/binhopper-level" compile open_edge.txt levels/1.lv
}

# The options panel darkens the sky at the right of the screen, which the menu leaves bright.
options_visible() {
  local r g b
  read -r r g b <<< "$(mean_colour "$1" 660 150 30 30)"
  [ $((r + g + b)) -lt 300 ]
}
menu_hidden() { ! menu_visible "$1"; }
deaths() { od -A n -t d4 -N 4 binhopper.dat 2>/dev/null | tr -d ' '; }
one_death() { [ "$(deaths)" = 1 ]; }

expect_choices_kept() {
  grep -qx 'effects_volume = 80' binhopper.cfg || fail "the effects volume is not kept $1: $(cat binhopper.cfg)"
  grep -qix 'key_left = a' binhopper.cfg || fail "the key for left is not kept $1: $(cat binhopper.cfg)"
}

scenario() {
  start_game || return 1
  click_at 650 545                        # Options
  settle options.png options_visible || { fail "the options screen did not open"; return 1; }
  click_at 320 110                        # effects volume: - twice
  click_at 320 110
  click_at 665 74                         # the key for left ...
  press a                                 # ... becomes A
  press Escape                            # back to the menu
  settle menu.png menu_visible || fail "Escape did not close the options screen"
  press Escape
  expect_exit 0 "after the options were changed"
  expect_choices_kept "after the first run"
  [ "$(deaths)" = 0 ] || fail "binhopper.dat does not start with no deaths: $(deaths)"

  start_game || return 1
  press Right                             # shows the focus on level 1
  press Return
  settle level.png menu_hidden || { fail "Enter on the focused level 1 did not start it"; return 1; }
  xdotool keydown Left
  sleep 1.5
  xdotool keyup Left
  [ "$(deaths)" = 0 ] || fail "the arrow still walks left"
  xdotool keydown a
  wait_until $PATIENCE one_death || fail "A did not walk off the edge"
  xdotool keyup a
  press Escape                            # the report's way back to the menu
  settle menu.png menu_visible || fail "Escape did not lead back to the menu"
  quit_with_escape
  expect_exit 0 "after playing with the chosen key"
  expect_choices_kept "after the second run"
  return 0
}

e2e_main "$@"
