#!/usr/bin/env bash
# The game opens on the title menu, in a window titled "Binhopper" with the game's icon, and
# ends with status 0, printing nothing and saving the
# progress, on Escape, when the window's close button is pressed, and when the window is closed
# while a level plays: then the death suffered in the level is in the file.
source "$(dirname "$0")/lib/game.bash"

# Ends the game the given way and checks its status, output and progress file: end_and_check
# HOW COMMAND...
end_and_check() {
  "${@:2}"
  expect_exit 0 "after $1"
  expect_progress_saved
  [ -s game_output.txt ] && fail "the game printed after $1: $(cat game_output.txt)"
}

menu_hidden() { ! menu_visible "$1"; }

# Level 1 of the test's copy is a floor open at the left edge, so walking left is a sure death.
prepare() {
  { echo "av 2 27"; for column in $(seq 0 39); do echo "tl $column 28 0"; done; } > open_edge.txt
  "$build/binhopper-level" compile open_edge.txt levels/1.lv
}

# The window's icons, as the desktop reads them: width and height, then the pixels, of each.
window_icon() { xprop -id "$WINDOW" -notype 32c _NET_WM_ICON 2>/dev/null | head -c 200; }

scenario() {
  start_game || return 1
  # Found by its title "Binhopper", and carrying the game's icons from 16 px up (the library's
  # own icon is a single larger one).
  [[ $(window_icon) == "_NET_WM_ICON = 16, 16, "* ]] || fail "the window lacks the game's icon: $(window_icon | head -c 60)"
  screenshot menu.png
  menu_visible menu.png || fail "the menu's quit button is not on screen"
  end_and_check Escape press Escape
  start_game || return 1
  end_and_check "closing the window" "$E2E_BUILD/xclose" "$WINDOW"
  rm binhopper.dat
  start_game || return 1
  click_at 70 345             # level 1
  settle level.png menu_hidden || fail "level 1 did not start"
  xdotool keydown Left        # off the left edge of the screen: a fall to death, saved at once
  wait_until $PATIENCE one_death || fail "the level's death is not in binhopper.dat"
  xdotool keyup Left
  end_and_check "closing the window in a level" "$E2E_BUILD/xclose" "$WINDOW"
  one_death || fail "the level's death is not in binhopper.dat after the window closed"
  return 0
}

one_death() { [ "$(od -A n -t d4 -N 4 binhopper.dat 2>/dev/null | tr -d ' ')" = 1 ]; }

e2e_main "$@"
