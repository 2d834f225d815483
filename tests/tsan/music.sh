#!/usr/bin/env bash
# Builds the music tests with ThreadSanitizer (only the music player, the file checks it makes
# and its test, so the build stays small) and runs them: the feeder thread and the main
# thread's gain changes must not race.
set -eu
build_dir=$(cd "$1" && pwd)
out="$build_dir/music-tsan"
exe="$out/music_tsan_tests"
sources=(src/app/music.cpp src/app/safe_file.cpp src/app/file_lock.cpp src/app/result.cpp tests/unit/music_test.cpp)
headers=(src/app/music.h src/app/safe_file.h src/app/file_lock.h src/app/result.h tests/unit/null_audio.h)
mkdir -p "$out"

stale=0
for f in "${sources[@]}" "${headers[@]}" "$0"; do
  if [ ! -x "$exe" ] || [ "$f" -nt "$exe" ]; then stale=1; fi
done
if [ "$stale" = 1 ]; then
  g++ -std=c++17 -O1 -g -fsanitize=thread -Wall -Wextra -Isrc -Itests "${sources[@]}" -o "$exe" \
    $(pkg-config --cflags --libs allegro-5 allegro_audio-5) -ldumb -lgtest -lgtest_main -pthread
fi

# From the repository root, where the tests find media/.
TSAN_OPTIONS="halt_on_error=1 exitcode=66" "$exe" --gtest_brief=1
