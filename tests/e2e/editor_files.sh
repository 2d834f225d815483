#!/usr/bin/env bash
# The editor's file commands in a real window, through the desktop's own file dialog (a GTK
# window here, driven by typing a path into it): Ctrl+O opens another level, which S then saves
# in its own file; Ctrl+Shift+S saves the level as a new file, the suffix added to a bare name.
source "$(dirname "$0")/lib/game.bash"

prepare() {
  rm -f levels/edit.lv
  printf 'tl\005\005\000' > levels/other.lv
}

# The dialog's toolkit reads no desktop settings or accessibility bus here: neither exists.
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

dialog_shown() { DIALOG=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$DIALOG" ]; }
dialog_gone() { ! xdotool search --onlyvisible --name "^$1\$" > /dev/null 2>&1; }

# Answers the dialog titled TITLE with PATH: types it (the toolkit takes a typed path as the
# file chosen) and Enter. The dialog starts slowly under the sanitizers on a busy machine.
answer_dialog() {
  wait_until $PATIENCE dialog_shown "$1" || { fail "no dialog '$1' appeared: $(tail -n 5 game_output.txt)"; return 1; }
  [ -n "${3:-}" ] && timeout $PATIENCE import -window "$DIALOG" "$3"
  xdotool windowfocus --sync "$DIALOG" 2>/dev/null
  sleep 0.5
  xdotool type --delay 30 "$2"
  sleep 0.3
  xdotool key Return
  wait_until $PATIENCE dialog_gone "$1" || { fail "the dialog '$1' stayed"; return 1; }
  xdotool windowfocus --sync "$WINDOW"
}

file_holds() {  # FILE HEX, polling
  wait_until $PATIENCE bash -c "[ \"\$(xxd -p '$1' 2>/dev/null | tr -d '\n')\" = '$2' ]" ||
    fail "$1 holds '$(xxd -p "$1" 2>/dev/null | tr -d '\n')', expected '$2'"
}

ctrl_press() {  # KEY [shift]
  xdotool keydown ctrl ${2:+shift}
  press "$1"
  xdotool keyup ctrl ${2:+shift}
}

scenario() {
  start_game --editor "$PWD/levels/edit.lv" || return 1
  ctrl_press o
  answer_dialog "Open a level" "$PWD/levels/other.lv" open_dialog.png || return 1
  click_at 210 210  # tile(0) in column 10, row 10
  press s
  file_holds levels/other.lv 746c050500746c0a0a00
  [ ! -e levels/edit.lv ] || fail "the level first edited was written"

  ctrl_press s shift
  answer_dialog "Save the level as" "$PWD/levels/copy" || return 1
  file_holds levels/copy.lv 746c050500746c0a0a00
  "$E2E_BUILD/xclose" "$WINDOW"
  expect_exit 0 "after closing the editor"
  return 0
}

e2e_main "$@"
