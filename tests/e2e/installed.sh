#!/usr/bin/env bash
# The installed game: a temporary prefix holds the program, its tools, data and desktop files
# (valid for the desktop validators, man pages without warnings, no authors' files in the
# data); the tools answer --help and --version and find the data from anywhere; started from a
# directory without data, the game keeps progress and settings under ~/.local/share/binhopper,
# remembers the music switched off, and in a window enlarged to 1600 x 1200 a click on level
# 1's scaled place starts level 1.
source "$(dirname "$0")/lib/game.bash"

MUSIC_LABEL=(552 407 196 18)

# Frames draw slowly in software rendering on a busy machine, so keys are held for several of
# them and every wait below allows half a minute.
hold() { xdotool keydown "$1" sleep 0.5 keyup "$1"; }

quits() {
  wait_for_exit $PATIENCE
  [ "$EXIT_CODE" = 0 ] || fail "exit status $EXIT_CODE $1, expected 0"
}

# The music label's white pixels once the menu has drawn it: FILE.
music_label() {
  local deadline=$((SECONDS + PATIENCE)) pixels=0
  while [ $SECONDS -lt $deadline ]; do
    screenshot "$1"
    pixels=$(white_pixels "$1" "${MUSIC_LABEL[@]}")
    [ "$pixels" -gt 0 ] && break
    sleep 0.2
  done
  echo "$pixels"
}

TOOLS=(binhopper-level binhopper-sim)

check_install_tree() {
  local prefix=$1 file page warnings
  for file in bin/binhopper bin/binhopper-level bin/binhopper-sim share/binhopper/media/font.ttf \
    share/binhopper/levels/1.lv share/binhopper/levels/title.lv share/applications/binhopper.desktop \
    share/icons/hicolor/48x48/apps/binhopper.png share/icons/hicolor/256x256/apps/binhopper.png \
    share/binhopper/media/icons/binhopper-64.png share/man/man6/binhopper.6 share/man/man6/binhopper-level.6 share/man/man6/binhopper-sim.6; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
  done
  for file in media/README media/font-license.txt levels/src levels/solutions; do
    [ ! -e "$prefix/share/binhopper/$file" ] || fail "an authors' file is installed as data: $file"
  done
  desktop-file-validate "$prefix/share/applications/binhopper.desktop" || fail "desktop entry is not valid"
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml || fail "metainfo is not valid"
  # The formatter's warnings, as the Debian package checker reads them.
  for page in "$prefix"/share/man/man6/*.6; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
}

# From a directory without data, as the game finds it: the tools' help, version and a level
# played and checked by its installed path.
check_tools() {
  local bin=$1 data=$2 tool output
  for tool in "${TOOLS[@]}"; do
    output=$("$bin/$tool" --help 2>&1) && [[ $output == "usage: $tool "* ]] ||
      fail "$tool --help: status $?, '$output'"
    output=$("$bin/$tool" --version 2>&1) && [[ $output =~ ^$tool\ [0-9]+\.[0-9]+\.[0-9]+$ ]] ||
      fail "$tool --version: status $?, '$output'"
  done
  output=$("$bin/binhopper-sim" "$data/levels/1.lv" --frames 5 2>&1) && [[ $output == "END frames=5 status=0 "* ]] ||
    fail "binhopper-sim outside the data: '$output'"
  cp "$data/levels/1.lv" mine.lv
  output=$("$bin/binhopper-level" check mine.lv 2>&1) && [ "$output" = "mine.lv: ok" ] ||
    fail "binhopper-level check outside the data: '$output'"
}

# Polls the enlarged level 1 button's place until it shows the level (sky over the first
# floor's bricks: bright, whatever the blue) or a dark button.
wait_for_button() {
  local deadline=$((SECONDS + PATIENCE)) r g b
  while [ $SECONDS -lt $deadline ]; do
    screenshot button.png
    read -r r g b <<< "$(mean_colour button.png 114 664 52 52)"
    if [ "$1" = level ] && [ $((r + g + b)) -gt 400 ]; then return 0; fi
    if [ "$1" = dark ] && [ $((r + g + b)) -lt 300 ]; then return 0; fi
    sleep 0.2
  done
  return 1
}

scenario() {
  local prefix=$PWD/prefix player=$HOME/.local/share/binhopper
  cmake --install "$E2E_BUILD" --prefix "$prefix" > install.log || { fail "cmake --install failed"; return 1; }
  check_install_tree "$prefix"
  mkdir elsewhere && cd elsewhere || return 1
  check_tools "$prefix/bin" "$prefix/share/binhopper"
  E2E_BUILD=$prefix/bin

  local yes no again
  start_game || return 1
  yes=$(music_label yes.png)
  xdotool mousemove --window "$WINDOW" 650 415 mousedown 1 sleep 0.5 mouseup 1
  sleep 0.5
  no=$(music_label no.png)
  hold Escape
  quits "after Escape in the first run"
  [ -s "$player/binhopper.dat" ] || fail "no progress in $player"
  grep -qx 'music = no' "$player/binhopper.cfg" || fail "settings do not remember the music: $(cat "$player/binhopper.cfg")"
  [ ! -e binhopper.dat ] || fail "progress written to the working directory"

  start_game || return 1
  again=$(music_label again.png)
  [ "$yes" != "$no" ] || fail "the music label did not change when clicked ($yes px)"
  [ "$again" = "$no" ] || fail "second start shows a music label of $again px, not No's $no px"

  # Level 1's button sits at (55, 330)-(85, 360) of the picture, twice that in a window twice
  # as big: dark in the menu, bright once the level has started. In a level Escape goes back to
  # the menu; in the menu it would quit.
  xdotool windowsize --sync "$WINDOW" 1600 1200
  sleep 0.5
  xdotool mousemove --window "$WINDOW" 140 690 mousedown 1 sleep 0.5 mouseup 1
  wait_for_button level || fail "the click at level 1's scaled place did not start the level"
  hold Escape
  wait_for_button dark || fail "Escape did not bring back the menu"
  quit_with_escape
  quits "after Escape in the menu"
  return 0
}

e2e_main "$@"
