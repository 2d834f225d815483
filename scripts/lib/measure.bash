# The real game as a player's machine without a GPU sees it, for scripts/measure-fps and
# scripts/measure-pacing: under Xvfb with Mesa's software OpenGL and a PulseAudio null sink (it
# paces the audio like a real device; an ALSA null device would let the mixer thread spin and
# hide the drawing cost), every buffer swap counted and stamped by a preloaded library
# (tests/tools/swap_stamps.cpp). Needs Xvfb, xdotool, pulseaudio, libasound2-plugins, c++.
#
# A script sources this file, defines a function REPORT that prints one line for a game and a
# scene, and calls measure_games REPORT GAME...: for every game, on the title screen and then
# on level 1, a warm-up and a measuring window of $window seconds, after which REPORT GAME
# SCENE runs with the window's figures set (see measure_scene). Several games are measured
# back to back in one run, so that an old and a new build meet the same machine load.
warm_up=${WARM_UP:-5}  # s
measure_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
measure_work=$(mktemp -d)
xvfb_pid=""
pulse_pid=""
game_pid=""
stamp_file=$measure_work/swaps

stop_process() { [ -n "$1" ] && kill "$1" 2>/dev/null && wait "$1" 2>/dev/null; }
measure_cleanup() {
  stop_process "$game_pid"
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null
  stop_process "$xvfb_pid"
  rm -rf "$measure_work"
}
trap measure_cleanup EXIT

# The stamping library, the X server and the sound server.
measure_setup() {
  c++ -shared -fPIC -O2 -o "$measure_work/swap_stamps.so" "$measure_repo/tests/tools/swap_stamps.cpp" -ldl || exit 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$measure_work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 200); do [ -s "$measure_work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n 1 "$measure_work/display")" HOME="$measure_work" XDG_RUNTIME_DIR="$measure_work"
  export XDG_CONFIG_HOME="$measure_work/.config" LIBGL_ALWAYS_SOFTWARE=1
  mkdir -p "$measure_work/.config/pulse"
  echo 'autospawn = no' > "$measure_work/.config/pulse/client.conf"
  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes \
    --load=module-null-sink --load=module-native-protocol-unix 2>"$measure_work/pulse.log" || {
    echo "$(basename "$0"): pulseaudio did not start: $(cat "$measure_work/pulse.log")"
    exit 1
  }
  pulse_pid=$(cat "$measure_work/pulse/pid" 2>/dev/null)
  printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' > "$measure_work/.asoundrc"
}

# The game's path as seen from anywhere.
absolute_path() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }

# scene_start GAME SCENE: starts GAME in a fresh copy of the data, on the title screen or on
# level 1 (SCENE title or level1), and returns after the warm-up.
scene_start() {
  local game=$1 scene=$2 run="$measure_work/run" window_id
  rm -rf "$run" && mkdir "$run" && cp -r "$measure_repo/levels" "$measure_repo/media" "$run/"
  head -c 8 /dev/zero > "$stamp_file"
  (cd "$run" && SWAP_STAMP_FILE="$stamp_file" LD_PRELOAD="$measure_work/swap_stamps.so" exec "$game") \
    > "$measure_work/game.log" 2>&1 &
  game_pid=$!
  window_id=$(timeout 30 xdotool search --sync --name '^[Bb]inhopper$' | head -n 1)
  if [ -z "$window_id" ]; then
    echo "$(basename "$0"): no window from $game"
    scene_stop
    return 1
  fi
  sleep 1
  if [ "$scene" = level1 ]; then
    xdotool mousemove --window "$window_id" 70 345 mousedown 1 sleep 0.2 mouseup 1
  fi
  sleep "$warm_up"
}

scene_stop() {
  stop_process "$game_pid"
  game_pid=""
}

swap_count() { od -An -t u8 -N 8 "$stamp_file" | tr -d ' '; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }

# measure_scene GAME SCENE: sets swap_first and swap_end (the window saw swaps swap_first to
# swap_end - 1), fps (swaps per second) and cpu (per cent of one core, every thread).
measure_scene() {
  local ticks0 start ticks1 end
  scene_start "$1" "$2" || return 1
  swap_first=$(swap_count) ticks0=$(cpu_ticks) start=$(date +%s.%N)
  sleep "$window"
  swap_end=$(swap_count) ticks1=$(cpu_ticks) end=$(date +%s.%N)
  scene_stop
  read -r fps cpu < <(awk -v f=$((swap_end - swap_first)) -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" \
    -v a="$start" -v b="$end" 'BEGIN { printf "%.1f %.1f\n", f / (b - a), 100 * t / hz / (b - a) }')
}

measure_games() {
  local report=$1 game scene
  shift
  [ $# -gt 0 ] || set -- "$measure_repo/build/binhopper"
  measure_setup
  echo "load before: $(uptime)"
  for game in "$@"; do
    [ -x "$game" ] || { echo "$(basename "$0"): $game is not a program"; continue; }
    game=$(absolute_path "$game")
    for scene in title level1; do measure_scene "$game" "$scene" && "$report" "$game" "$scene"; done
  done
  echo "load after:  $(uptime)"
}

# swap_stamps FIRST END: the stamps of swaps FIRST to END - 1, in nanoseconds, one a line.
swap_stamps() {
  od -An -t u8 -v -w8 -j 8 "$stamp_file" | awk -v first="$1" -v end="$2" '
    { stamp[NR - 1] = $1 }
    END { for (i = first; i < end; ++i) print stamp[i % NR] }'
}
