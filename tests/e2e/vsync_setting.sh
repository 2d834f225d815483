#!/usr/bin/env bash
# A player who turned vertical sync on in the settings file: the game starts with it asked for
# (a display that does not grant it, like this one, leaves the pace to the game's own clock),
# and the choice is still in the file after the menu has saved its own choices over it.
source "$(dirname "$0")/lib/game.bash"

prepare() { printf 'music = no\nvsync = yes\n' > binhopper.cfg; }

scenario() {
  start_game || return 1
  press Escape
  expect_exit 0 "after Escape"
  grep -qx 'vsync = yes' binhopper.cfg || fail "vertical sync was not kept: $(cat binhopper.cfg)"
  grep -qx 'music = no' binhopper.cfg || fail "the menu's choice was not saved: $(cat binhopper.cfg)"
  return 0
}

e2e_main "$@"
