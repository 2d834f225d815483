#!/usr/bin/env bash
# The window mode is remembered in binhopper.cfg only when the player switches it with F11: a
# run started with -fs leaves the remembered mode alone, and so does --windowed over a
# remembered full screen. (Xvfb has no window manager to make a window cover the screen, so
# the mode itself is read from the settings file, not from the window's size.)
source "$(dirname "$0")/lib/game.bash"

remembered_mode() { sed -n 's/^window = //p' binhopper.cfg 2>/dev/null; }

# Starts the game with the arguments, presses the keys, leaves with Escape and checks what the
# settings file remembers: run_and_expect MODE KEYS... -- ARGUMENTS...
run_and_expect() {
  local mode=$1 keys=()
  shift
  while [ "$1" != -- ]; do keys+=("$1"); shift; done
  shift
  start_game "$@" || return 1
  for key in "${keys[@]}"; do press "$key"; done
  press Escape
  expect_exit 0 "after Escape"
  [ "$(remembered_mode)" = "$mode" ] || fail "binhopper $* with ${keys[*]:-no key}: window = $(remembered_mode), expected $mode"
}

scenario() {
  run_and_expect windowed -- -fs || return 1
  run_and_expect fullscreen F11 -- || return 1
  run_and_expect fullscreen -- --windowed || return 1
  run_and_expect windowed F11 -- || return 1
  return 0
}

e2e_main "$@"
