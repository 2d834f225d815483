#!/usr/bin/env bash
# With no audio device at all: start-up stops at the audio step with its fatal line (two full
# stops) and a line naming --no-audio on standard output, and exit status 1. Started with
# --no-audio, or with 'audio = no' in the settings, the same machine plays: the menu shows, and
# Escape ends the game with status 0 and the settings line kept.
export HEADLESS_NO_AUDIO=1
source "$(dirname "$0")/lib/game.bash"

expected_failure() {
  printf 'FATAL: Unable to initialize audio..\n'
  printf "To play without sound, start the game with --no-audio (or put 'audio = no' in binhopper.cfg).\n"
}

# Starts the game with the arguments, waits for the menu and quits it.
plays_silently() {
  local how=$1
  shift
  start_game "$@" || { fail "$how: $(cat game_output.txt)"; return; }
  settle menu.png menu_visible || fail "$how: the menu did not show"
  quit_with_escape
  expect_exit 0 "$how"
}

scenario() {
  timeout $PATIENCE "$E2E_BUILD/binhopper" > out.txt 2> err.txt
  local code=$?
  if [ "$code" -ne 1 ] || ! expected_failure | cmp -s - out.txt; then
    fail "exit status $code (expected 1), standard output:"
    od -c out.txt | head -8
  fi
  plays_silently "with --no-audio" --no-audio
  printf 'audio = no\nmusic = no\n' > binhopper.cfg
  plays_silently "with audio = no"
  grep -qx 'audio = no' binhopper.cfg || fail "the settings lost 'audio = no': $(cat binhopper.cfg)"
  return 0
}

e2e_main "$@"
