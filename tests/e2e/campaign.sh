#!/usr/bin/env bash
# A player's pack chosen with the campaign button and its first level played to completion: the
# level's name shows as a banner at the start, Space after the last level completed shows the
# final screen, the completion goes to progress/tiny.dat, the
# built-in campaign's binhopper.dat stays byte for byte what it was, and the choice is
# remembered in the settings.
source "$(dirname "$0")/lib/game.bash"

# The tiny pack's only level: the avatar stands on a floor near the top while a bag drops into
# the container beside it, so the level completes by itself in well under a second of play.
# Runs inside e2e_main, whose $build is the build directory.
prepare() {
  mkdir -p packs/tiny
  {
    echo grid
    for row in $(seq 0 29); do
      if [ "$row" = 6 ]; then printf '0%.0s' $(seq 1 40); fi
      echo
    done
    echo end
    printf 'av 2 5\ngb 10 0\nct 10 5 1\n'
  } > tiny.txt
  "$build/binhopper-level" compile tiny.txt packs/tiny/1.lv > /dev/null || return 1
  printf 'name = Tiny Pack\nlevel 1 = 9.0 Bin Day\n' > packs/tiny/pack.txt
  printf 'music = no\n' > binhopper.cfg
  # A fresh record set of the sixteen levels: the first three open, best times 999.0.
  {
    printf '\0\0\0\0\020'
    for level in $(seq 0 15); do
      if [ "$level" -lt 3 ]; then printf '\001'; else printf '\0'; fi
      printf '\0\0\0\0\0\0\0\0\070\217\100'
    done
  } > binhopper.dat
  cp binhopper.dat binhopper.dat.before
}

# The banner sits in the lower half (the avatar starts in the upper one), 70 px above the
# bottom edge: "Bin Day" in white on a dark band about 100 px wide, centred. Once it has gone,
# the band's left end shows the sky, or the floor the closing zoom brings there.
banner_shown() {
  local r g b
  read -r r g b <<< "$(mean_colour "$1" 352 504 16 24)"
  [ $((r + g + b)) -lt 240 ] && [ "$(white_pixels "$1" 370 504 60 24)" -ge 20 ]
}

banner_gone() {
  local r g b
  read -r r g b <<< "$(mean_colour "$1" 352 504 16 24)"
  [ $((r + g + b)) -ge 240 ] && [ "$(white_pixels "$1" 370 504 60 24)" -lt 20 ]
}

# The final screen's "WELL DONE!" in white, centred at the top, where the menu has none.
final_screen() {
  [ "$(white_pixels "$1" 360 38 80 18)" -ge 30 ]
}

scenario() {
  start_game || return 1
  click_at 650 485
  settle menu.png menu_visible || fail "no menu after choosing the campaign"
  click_at 70 345
  wait_until $PATIENCE shot_meets level.png banner_shown || fail "no name banner at the level's start"
  settle later.png banner_gone || fail "the banner did not go"
  wait_until $PATIENCE test -s progress/tiny.dat || fail "no progress/tiny.dat after the completion"
  press space
  settle final.png final_screen || fail "no final screen after the pack's last and only level"
  press Escape
  settle back.png menu_visible || fail "no menu after the final screen"
  quit_with_escape
  expect_exit 0 "after Escape"
  [ "$(od -An -tu1 -j5 -N2 progress/tiny.dat | tr -s ' ')" = " 1 1" ] ||
    fail "level 1 not completed in progress/tiny.dat: $(od -An -tu1 progress/tiny.dat)"
  [ "$(stat -c %s progress/tiny.dat)" = 17 ] || fail "progress/tiny.dat is not one record long"
  cmp -s binhopper.dat binhopper.dat.before || fail "playing the pack changed binhopper.dat"
  grep -qx 'campaign = tiny' binhopper.cfg || fail "the campaign was not remembered: $(cat binhopper.cfg)"
  return 0
}

e2e_main "$@"
