#!/usr/bin/env bash
# With 6 unlock points in the progress file, the theme button moves from "Sky" to "Sunset" and
# the sky turns orange; the next click finds Mist locked, and the sunset sky stays.
source "$(dirname "$0")/lib/game.bash"

# Three completed levels with the golden crown each: 6 unlock points. Best time 10.0 s.
prepare() {
  local record='\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x24\x40'
  printf "\x00\x00\x00\x00\x03${record}${record}${record}" > binhopper.dat
}

# Label width in white pixels and the sky's mean colour along the top edge.
label_pixels() { white_pixels "$1" 552 337 196 18; }
sky_colour() { mean_colour "$1" 0 0 800 20; }

scenario() {
  start_game || return 1
  screenshot sky.png
  click_at 650 345
  sleep 0.3
  screenshot sunset.png
  click_at 650 345
  sleep 0.3
  screenshot locked.png

  local sky sunset locked r g b
  sky=$(label_pixels sky.png) sunset=$(label_pixels sunset.png) locked=$(label_pixels locked.png)
  [ "$sunset" -gt "$sky" ] || fail "label did not grow from Sky ($sky px) to Sunset ($sunset px)"
  [ "$locked" -gt "$sunset" ] || fail "label did not grow from Sunset ($sunset px) to Locked (6 more) ($locked px)"
  read -r r g b <<< "$(sky_colour sky.png)"
  [ "$b" -gt 200 ] || fail "the first sky is not blue: $r $g $b"
  read -r r g b <<< "$(sky_colour sunset.png)"
  [ "$r" -gt 180 ] && [ "$b" -lt 150 ] || fail "the Sunset sky is not orange: $r $g $b"
  read -r r g b <<< "$(sky_colour locked.png)"
  [ "$r" -gt 180 ] && [ "$b" -lt 150 ] || fail "a locked theme replaced the sunset sky: $r $g $b"
  press Escape
  expect_exit 0 "after Escape"
  return 0
}

e2e_main "$@"
