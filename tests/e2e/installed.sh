#!/usr/bin/env bash
# The installed game: a temporary prefix holds the program, data and desktop files (valid for
# the desktop validators); started from a directory without data, it keeps progress and
# settings under ~/.local/share/binhopper, remembers the music switched off, and in a window
# enlarged to 1600 x 1200 a click on level 1's scaled place starts level 1.
source "$(dirname "$0")/lib/game.bash"

MUSIC_LABEL=(552 407 196 18)

check_install_tree() {
  local prefix=$1 file
  for file in bin/binhopper bin/binhopper-level bin/binhopper-sim share/binhopper/media/font.ttf \
    share/binhopper/levels/1.lv share/binhopper/levels/title.lv share/applications/binhopper.desktop \
    share/icons/hicolor/48x48/apps/binhopper.png share/icons/hicolor/256x256/apps/binhopper.png \
    share/man/man6/binhopper.6; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
  done
  desktop-file-validate "$prefix/share/applications/binhopper.desktop" || fail "desktop entry is not valid"
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml || fail "metainfo is not valid"
}

scenario() {
  local prefix=$PWD/prefix player=$HOME/.local/share/binhopper
  cmake --install "$E2E_BUILD" --prefix "$prefix" > install.log || { fail "cmake --install failed"; return 1; }
  check_install_tree "$prefix"
  mkdir elsewhere && cd elsewhere || return 1
  E2E_BUILD=$prefix/bin

  start_game || return 1
  screenshot yes.png
  click_at 650 415
  sleep 0.3
  screenshot no.png
  press Escape
  expect_exit 0 "after Escape in the first run"
  [ -s "$player/binhopper.dat" ] || fail "no progress in $player"
  grep -qx 'music = no' "$player/binhopper.cfg" || fail "settings do not remember the music: $(cat "$player/binhopper.cfg")"
  [ ! -e binhopper.dat ] || fail "progress written to the working directory"

  start_game || return 1
  screenshot again.png
  local yes no again
  yes=$(white_pixels yes.png "${MUSIC_LABEL[@]}") no=$(white_pixels no.png "${MUSIC_LABEL[@]}")
  again=$(white_pixels again.png "${MUSIC_LABEL[@]}")
  [ "$yes" != "$no" ] || fail "the music label did not change when clicked ($yes px)"
  [ "$again" = "$no" ] || fail "second start shows a music label of $again px, not No's $no px"

  # Level 1's button sits at (70, 345) of the picture, (140, 690) of a window twice as big.
  # In a level Escape goes back to the menu; in the menu it would quit.
  xdotool windowsize --sync "$WINDOW" 1600 1200
  sleep 0.5
  click_at 140 690
  sleep 0.5
  press Escape
  sleep 0.5
  game_running || fail "the click at level 1's scaled place did not start the level"
  press Escape
  expect_exit 0 "after Escape in the menu"
  return 0
}

e2e_main "$@"
