#!/usr/bin/env bash
# binhopper -editor: L without "levels/edit.lv" reports it and the editor goes on; clicks place
# the prototypes chosen with X and the wheel, and S saves exactly those records; P test-plays
# the level and Escape comes back to the editor; closing the window ends it with status 0 and
# no progress file written.
# binhopper -editor FILE: Ctrl+Z takes a placement back before S writes the new file; a lever
# placed after 3 lands on channel 3; closing with unsaved changes asks, Enter keeps editing,
# and at the next close S saves and closes.
# binhopper -editor levels/play.lv: the test play never writes the unsaved edit into the file
# being edited; S asks before overwriting a file another program changed, and Escape leaves it;
# "close without saving" drops the autosave it restored; a sign longer than the entry takes is
# left whole.
source "$(dirname "$0")/lib/game.bash"

prepare() {
  rm -f levels/edit.lv levels/play.lv
}

# The editor draws grid lines every 20 px: the line at x = 700 (which lights pixel column 699
# or 700) is darker than the middle of the cell beside it. A play state draws a smooth sky there.
grid_visible() {
  local line1 line2 cell g b
  read -r line1 g b <<< "$(mean_colour "$1" 699 400 1 100)"
  read -r line2 g b <<< "$(mean_colour "$1" 700 400 1 100)"
  read -r cell g b <<< "$(mean_colour "$1" 710 400 1 100)"
  [ $((cell - line1)) -gt 40 ] || [ $((cell - line2)) -gt 40 ]
}
grid_hidden() { ! grid_visible "$1"; }

# The file's bytes as hex once they are what is expected, polling for up to $PATIENCE s: FILE
# HEX.
file_holds() {
  local deadline=$((SECONDS + PATIENCE)) bytes
  while :; do
    bytes=$(xxd -p "$1" 2>/dev/null | tr -d '\n')
    [ "$bytes" = "$2" ] && return 0
    [ $SECONDS -ge $deadline ] && { fail "$1 holds '$bytes', expected '$2'"; return 1; }
    sleep 0.1
  done
}

ctrl_press() {
  xdotool keydown ctrl
  press "$1"
  xdotool keyup ctrl
}

edit_named_file() {
  mkdir -p x
  start_game -editor "$PWD/x/new.lv" || return 1
  click_at 110 110            # tile(0) in column 5, row 5
  ctrl_press z
  click_at 210 210            # tile(0) in column 10, row 10
  press s
  file_holds x/new.lv 746c0a0a00

  press 3
  for _ in $(seq 15); do wheel up; done
  click_at 310 310            # lever(3,off) in column 15, row 15
  "$E2E_BUILD/xclose" "$WINDOW"
  sleep 1
  game_running || { fail "closing with unsaved changes did not ask"; return 1; }
  press Return
  sleep 1
  game_running || { fail "Enter in the closing question discarded the work"; return 1; }
  file_holds x/new.lv 746c0a0a00
  "$E2E_BUILD/xclose" "$WINDOW"
  sleep 1
  game_running || { fail "closing again did not ask"; return 1; }
  press s
  expect_exit 0 "after S in the closing question"
  file_holds x/new.lv 746c0a0a0076720f0f0300
}

# Autosave, test play, a foreign write and a long sign, all on levels/play.lv.
edit_play_file() {
  printf 'tl\x07\x07\x00ms\x05\x05%s$' "$(printf 'y%.0s' $(seq 200))" > levels/play.lv
  cp levels/play.lv theirs.lv
  printf 'tl\x08\x08\x00' > levels/play.lv.autosave
  touch -d '+1 minute' levels/play.lv.autosave
  start_game -editor levels/play.lv || return 1
  press Return                # restores the autosave
  press p
  settle play.png grid_hidden || { fail "P did not start the test play"; return 1; }
  press Escape
  settle back.png grid_visible || { fail "Escape did not return to the editor"; return 1; }
  cmp -s levels/play.lv theirs.lv || fail "the test play wrote the edit into the file being edited"

  printf 'tl\x09\x09\x00' > levels/play.lv
  press s
  press Escape
  file_holds levels/play.lv 746c090900 || fail "S overwrote a file changed on disk without asking"
  "$E2E_BUILD/xclose" "$WINDOW"
  press y                     # close without saving
  expect_exit 0 "after closing without saving"
  [ -e levels/play.lv.autosave ] && fail "the restored autosave is still offered after it was thrown away"

  cp theirs.lv levels/play.lv
  start_game -editor levels/play.lv || return 1
  xdotool mousemove --window "$WINDOW" 110 110
  sleep 0.1
  press Return                # the sign's text is too long for the entry: nothing opens
  xdotool type --delay 50 cut
  press Return
  press s
  "$E2E_BUILD/xclose" "$WINDOW"
  expect_exit 0 "after closing the editor"
  cmp -s levels/play.lv theirs.lv || fail "the long sign was cut: $(xxd -p levels/play.lv | tr -d '\n' | head -c 80)"
}

scenario() {
  edit_named_file || return 1
  edit_play_file || return 1
  start_game -editor || return 1
  press l
  game_running || { fail "L without a level file ended the editor"; return 1; }
  grep -q "CANNOT OPEN 'levels/edit.lv'!!!" game_output.txt || fail "L did not report the missing file"

  click_at 110 110            # tile(0) in column 5, row 5
  for _ in 1 2 3 4 5 6 7; do press x; done
  click_at 210 310            # avatar in column 10, row 15
  wheel up
  click_at 410 410            # baddie(tame) in column 20, row 20
  wheel down
  wheel down
  click_at 610 210            # forcefield(v) in column 30, row 10
  press s
  printf 'tl\x05\x05\x00av\x0a\x0fbd\x14\x14\x00ff\x1e\x0a\x01' > expected.lv
  wait_until $PATIENCE cmp -s levels/edit.lv expected.lv ||
    fail "levels/edit.lv holds '$(xxd -p levels/edit.lv 2>/dev/null | tr -d '\n')', expected '$(xxd -p expected.lv)'"

  screenshot editor.png
  grid_visible editor.png || fail "the editor's grid is not on screen"
  press p
  settle play.png grid_hidden || fail "P did not start the test play"
  press Escape
  settle back.png grid_visible || fail "Escape did not return to the editor"
  game_running || fail "the editor ended after the test play"
  "$E2E_BUILD/xclose" "$WINDOW"
  expect_exit 0 "after closing the editor"
  [ -e binhopper.dat ] && fail "the editor wrote the progress file"
  return 0
}

e2e_main "$@"
