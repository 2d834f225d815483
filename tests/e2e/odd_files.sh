#!/usr/bin/env bash
# Odd files where the game reads at start-up: the settings, the progress file, the title scene
# and a level are each a FIFO, a directory or a link to an endless device, all at once. The game
# must come up without hanging, say why in its output and in the menu's pop-up, quit on Escape,
# and leave every one of those files as it was.
source "$(dirname "$0")/lib/game.bash"

PLACES=(binhopper.cfg binhopper.dat levels/title.lv levels/2.lv)

make_odd() {  # KIND PATH
  case $1 in
    fifo) mkfifo "$2" ;;
    directory) mkdir "$2" ;;
    device) ln -s /dev/zero "$2" ;;
  esac
}

fingerprints() {
  local place
  for place in "${PLACES[@]}"; do stat -c "$place %F %i %s %Y" "$place"; done
}

one_kind() {  # KIND REASON
  local place
  mkdir -p originals
  for place in "${PLACES[@]}"; do
    [ -e "$place" ] && mv "$place" "originals/${place//\//_}"
    make_odd "$1" "$place"
  done
  fingerprints > before.txt
  start_game || return 1
  screenshot with_notice.png
  click_at 400 120 # closes the pop-up
  settle without_notice.png notice_closed || fail "$1: no pop-up over the menu at start"
  press Escape
  expect_exit 0 "$1: after Escape"
  fingerprints > after.txt
  cmp -s before.txt after.txt || fail "$1: files changed: $(diff before.txt after.txt | tr '\n' ' ')"
  [ ! -e binhopper.dat.bad ] || fail "$1: the progress file was set aside as if damaged"
  grep -q "^Ignoring settings file '.*binhopper.cfg': $2\.$" game_output.txt ||
    fail "$1: no settings message in: $(cat game_output.txt)"
  grep -q "^The progress file '.*binhopper.dat' cannot be read: $2\.$" game_output.txt ||
    fail "$1: no progress message in: $(cat game_output.txt)"
  for place in "${PLACES[@]}"; do
    rm -rf "$place"
    [ -e "originals/${place//\//_}" ] && mv "originals/${place//\//_}" "$place"
  done
  return 0
}

notice_closed() {
  [ $(($(top_strip with_notice.png) + 100)) -lt "$(top_strip "$1")" ]
}

scenario() {
  one_kind fifo "not a regular file" || return 1
  one_kind directory "Is a directory" || return 1
  one_kind device "not a regular file" || return 1
}

e2e_main "$@"
