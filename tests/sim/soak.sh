#!/usr/bin/env bash
# An hour of the title scene and of the final scene's fireworks, simulated: the number of
# entities stays bounded and peak memory grows by less than 1 MiB between minute 5 and minute 60.
set -u
sim="${1:?usage: $0 BUILD_DIR}/binhopper-sim"
source "$(dirname "$0")/../lib/check.bash"

frames_per_hour=212000   # 3600 s at the 0.017 s frame
five_minutes=17647
max_entities=1000        # the busiest moment of either scene stays far below this

soak() {  # LABEL LEVEL INDEX
  local stats
  stats=$("$sim" "$2" --frames $frames_per_hour --index "$3" --stats $five_minutes | grep '^STATS') ||
    { fail "$1: the simulator failed"; return; }
  local first_peak last_peak most
  first_peak=$(head -n 1 <<<"$stats" | sed 's/.*peak_kib=//')
  last_peak=$(tail -n 1 <<<"$stats" | sed 's/.*peak_kib=//')
  most=$(sed 's/.*rndr=\([0-9]*\).*/\1/' <<<"$stats" | sort -n | tail -n 1)
  echo "$1: at most $most entities drawn; peak memory $first_peak KiB at minute 5, $last_peak KiB at minute 60"
  [ "$most" -lt $max_entities ] || fail "$1: $most entities"
  [ $((last_peak - first_peak)) -lt 1024 ] || fail "$1: peak memory grew by $((last_peak - first_peak)) KiB"
}

soak title levels/title.lv -1
soak "final scene" levels/winner.lv -2
finish "both scenes stay bounded for an hour"
