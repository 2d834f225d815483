#!/usr/bin/env bash
# A run played in the real game is kept: a level of a few presses (pick up the bag, walk to the
# wall, put it down into the bin) is completed, its best run and last run appear in the player's
# replays, and the best run played headless ends as the game ended it, to the bit. From the
# menu, W over the level's button shows that run until Escape returns to the menu.
source "$(dirname "$0")/lib/game.bash"

prepare() { printf 'music = no\n' > binhopper.cfg; }

# The avatar stands on its bag two cells left of the bin, which is at the wall: holding Right
# for far longer than the walk takes, even on a busy machine, leaves it over the bin.
bag_to_bin_level() {
  local row
  {
    echo "av 8 19"
    echo "gb 8 19"
    echo "ct 10 19 1"
    echo grid
    for row in $(seq 0 15); do echo; done
    for row in 16 17 18 19; do echo "0..........0"; done
    printf '%040d\n' 0
    echo end
  } > bag_to_bin.txt
  "$E2E_BUILD/binhopper-level" compile bag_to_bin.txt levels/1.lv
}

hold_with() {  # hold_with HELD KEY: press KEY while HELD is held
  xdotool keydown "$1"
  sleep 0.2
  press "$2"
  xdotool keyup "$1"
  sleep 0.15
}

scenario() {
  bag_to_bin_level || { fail "the level does not compile"; return 1; }
  start_game || return 1
  click_at 70 345
  settle level.png not_menu || { fail "level 1 did not start"; return 1; }
  hold_with Down x
  xdotool keydown Right
  sleep 3
  xdotool keyup Right
  hold_with Down x
  wait_until $PATIENCE test -f replays/levels/1.rpl || { fail "no best run was kept: $(ls -R replays 2>&1)"; return 1; }
  [ -f replays/levels/1.last.rpl ] || fail "no last run was kept"
  press Escape
  settle menu.png menu_visible || fail "Escape did not return to the menu"
  xdotool mousemove --window "$WINDOW" 70 345
  press w
  settle replay.png not_menu || fail "W over level 1 showed no replay"
  press Escape
  settle menu_again.png menu_visible || fail "Escape did not leave the replay"
  quit_with_escape
  expect_exit 0 "after Escape"
  local out
  out=$("$E2E_BUILD/binhopper-sim" --replay replays/levels/1.rpl levels/1.lv) ||
    fail "the kept run does not play headless to its end: $out"
  [[ "$out" == *"status=2 "* ]] || fail "the kept run does not complete the level: $out"
  return 0
}

not_menu() { ! menu_visible "$1"; }

e2e_main "$@"
