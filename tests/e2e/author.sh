#!/usr/bin/env bash
# An author's way from the menu to a played pack, in a real window: Editor, Ctrl+N (a new level
# with an avatar), a floor, a bin and a bag above it painted, C saves it into a new campaign as
# its level 1, P test-plays it (the bag falls in: the level is won), K keeps the run as its
# proof, Escape and Y leave the editor for the menu, where the campaign button now offers the
# pack: its level 1 is played and its completion recorded. `pack check` proves the level.
source "$(dirname "$0")/lib/game.bash"

# The palette's entries, from tile(0): message, bag, ..., container(1) the eleventh.
BAG_STEPS=2
BIN_STEPS=8

progress_completed() {  # the completed flag of level 1 in the pack's progress file
  [ "$(od -A n -t u1 -j 6 -N 1 progress/mypack.dat 2>/dev/null | tr -d ' ')" = 1 ]
}

# The pack holds one level: where the built-in campaign's second level button stands, the sky.
pack_shown() {
  local r g b
  read -r r g b <<< "$(mean_colour "$1" 100 335 20 20)"
  [ $((r + g + b)) -gt 450 ]
}

# The campaign button steps through the campaigns, the built-in one first; a click the menu
# took while it was still coming back is tried again.
choose_pack() {
  local attempt
  for attempt in 1 2 3; do
    click_at 650 485
    wait_until 20 shot_meets campaign.png pack_shown && return 0
  done
  fail "the campaign button never showed the new pack"
  return 1
}

proof_kept() {
  press k
  [ -s packs/mypack/proofs/1.rpl ]
}

paint_level() {
  xdotool mousemove --window "$WINDOW" 10 550 mousedown 1
  for x in 50 90 130 170 210 250 290; do
    sleep 0.1
    xdotool mousemove --window "$WINDOW" "$x" 550
  done
  sleep 0.15
  xdotool mouseup 1
  for _ in $(seq $BAG_STEPS); do press x; done
  click_at 210 310   # the bag, above the bin
  for _ in $(seq $BIN_STEPS); do press x; done
  click_at 210 530   # container(1) on the floor
}

scenario() {
  start_game || return 1
  settle menu.png menu_visible || { fail "no menu"; return 1; }
  click_at 650 580   # Editor
  sleep 1
  xdotool keydown ctrl
  press n
  xdotool keyup ctrl
  paint_level
  press c
  xdotool type --delay 50 mypack
  press Return
  press Return       # level 1, the new pack's next
  wait_until $PATIENCE test -s packs/mypack/1.lv || { fail "the level was not saved into the pack"; return 1; }
  grep -qx "level 1 = 60.0" packs/mypack/pack.txt || fail "pack.txt: $(cat packs/mypack/pack.txt)"
  press p
  wait_until $PATIENCE proof_kept || { fail "no proof was kept: $(tail -n 5 game_output.txt)"; return 1; }
  press Escape       # back to the editor
  sleep 0.5
  press Escape       # "Leave the editor?"
  press y
  settle menu.png menu_visible || { fail "the menu did not come back"; return 1; }
  choose_pack || return 1
  click_at 70 345    # its level 1
  wait_until $PATIENCE progress_completed || fail "the pack's level 1 was not completed from the menu"
  press Escape
  quit_with_escape
  expect_exit 0 "after quitting"
  "$E2E_BUILD/binhopper-level" pack check packs/mypack > check.txt 2>&1
  grep -q "^PROOF n=1 proven time=" check.txt || fail "pack check: $(cat check.txt)"
  return 0
}

e2e_main "$@"
