#!/usr/bin/env bash
# A player directory that is full, and then read-only: the settings saved when the options
# screen closes and the progress and run saved at a death all fail. Each failure shows at the
# time, naming the file and the system's reason (the menu's pop-up, the death report), the game
# goes on and quits normally, and the files already there are left as they were. The directory
# is a small tmpfs, so this needs root (or mount rights); without them it is skipped.
source "$(dirname "$0")/lib/game.bash"

# Level 1 is an avatar over nothing, who falls to his death a second after the start.
fall_level() {
  printf 'av 2 0\ngrid\nend\n' > fall.txt
  "$E2E_BUILD/binhopper-level" compile fall.txt levels/1.lv > /dev/null
}

# The pop-up's strip is much darker while it is open.
notice_closed() { [ $(($(top_strip notice.png) + 100)) -lt "$(top_strip "$1")" ]; }

# Yellow text in the death report's fifth line, where the failed saves stand out.
failure_in_report() {
  local yellow
  yellow=$(convert "$1" -crop 700x16+12+84 +repage -fx '(r>0.8&&g>0.8&&b<0.3)?1:0' -format '%[fx:round(mean*w*h)]' info:)
  [ "$yellow" -gt 30 ]
}

one_situation() {  # SITUATION REASON
  local player="$BINHOPPER_DATA/xdg/binhopper" line
  : > game_output.txt
  start_game || return 1
  click_at 650 545 # Options
  sleep 1
  press Escape
  wait_until $PATIENCE grep -qF "Unable to save settings to '$player/binhopper.cfg': $2." game_output.txt ||
    { fail "$1: no settings line: $(cat game_output.txt)"; return 1; }
  screenshot notice.png
  click_at 400 120 # closes the pop-up
  settle no_notice.png notice_closed || fail "$1: the failed settings save showed no pop-up"

  click_at 70 345 # level 1
  wait_until $PATIENCE grep -qF "Unable to save progress to '$player/binhopper.dat': $2." game_output.txt ||
    { fail "$1: no progress line: $(cat game_output.txt)"; return 1; }
  line="Unable to save the run to '$player/replays/levels/1.last.rpl'"
  grep -qF "$line" game_output.txt || fail "$1: no line for the run: $(cat game_output.txt)"
  settle report.png failure_in_report || fail "$1: the death report does not show the failed saves"
  press Escape
  settle menu.png menu_visible || fail "$1: Escape did not return to the menu"
  quit_with_escape
  expect_exit 0 "$1: after Escape"
  for file in binhopper.dat binhopper.cfg; do
    cmp -s "$player/$file" "originals/$file" || fail "$1: $file changed"
  done
  [ -z "$(find "$player" -name '*.tmp')" ] || fail "$1: temporary files left: $(ls -R "$player")"
  return 0
}

scenario() {
  local player="$PWD/xdg/binhopper"
  fall_level || { fail "the level does not compile"; return 1; }
  mkdir -p "$player"
  if ! mount -t tmpfs -o size=512k tmpfs "$player" 2>/dev/null; then
    echo "SKIPPED: cannot mount a small tmpfs here (needs root)"
    return 0
  fi
  trap 'umount -l "'"$player"'"' EXIT # lazily: a game killed on a failure may still hold it
  export BINHOPPER_DATA=$PWD XDG_DATA_HOME=$PWD/xdg
  mkdir -p "$player/levels" run/originals
  cd run || return 1 # the player directory is the working directory's only when the data is there
  printf 'music = no\n' > "$player/binhopper.cfg"
  # Seven deaths and level 1 completed (best time 999 s): a record worth keeping.
  printf '\x07\x00\x00\x00\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x38\x8f\x40' > "$player/binhopper.dat"
  cp "$player/binhopper.dat" "$player/binhopper.cfg" originals/

  # Filling to the last byte: the filler stops at the first write the disk refuses.
  dd if=/dev/zero of="$player/filler" bs=4k 2>/dev/null
  one_situation "a full directory" "No space left on device" || return 1

  rm "$player/filler"
  mount -o remount,ro "$player" || { fail "cannot make the tmpfs read-only"; return 1; }
  one_situation "a read-only directory" "Read-only file system"
}

e2e_main "$@"
