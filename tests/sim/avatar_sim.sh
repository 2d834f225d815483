#!/usr/bin/env bash
# binhopper-sim's command line and output on small levels, with the numbers worked out by hand
# from the movement rules at dt = 1/64 s (walking 3.125 px, gravity 9.375 px/s per frame).
set -u
build=$1
sim="$build/binhopper-sim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # label expected actual
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

for level in tests/sim/levels/*.txt; do
  name=$(basename "$level" .txt)
  "$build/binhopper-level" compile "$level" "$work/$name.lv" || { echo "cannot compile $level"; exit 1; }
done

# One second of walking right: 200 px, and the clock counts the whole second.
printf '# walk\n\n64 R\n' > "$work/walk.in"
out=$("$sim" "$work/floor.lv" --inputs "$work/walk.in" --dt 0.015625 --trace)
expect "walk: exit status" 0 $?
expect "walk: END" 'END frames=64 status=0 reason="" elapsed=1 jumps=0 doublejumps=0 throws=0 pixels=200 garbage=0 loose=0' \
  "$(tail -n 1 <<< "$out")"
expect "walk: first frame" $'F 1 1111111111\nav 103.125 540 1 0 0 0 0' "$(sed -n 1,2p <<< "$out")"
expect "walk: last frame" $'F 64 1111111111\nav 300 540 1 0 0 0 0' "$(grep -A1 '^F 64 ' <<< "$out")"
expect "walk: lines" 129 "$(wc -l <<< "$out")"

# A standing jump: after n frames in the air y = 540 + (-270 n + 4.6875 n (n + 1)) / 64; the
# 57th sinks into the floor and lands, keeping vy = -270 + 57 * 9.375.
printf '1 Z\n' > "$work/jump.in"
out=$("$sim" "$work/floor.lv" --inputs "$work/jump.in" --frames 60 --dt 0.015625 --trace)
expect "jump: take-off" 'av 100 540 2 0 -270 0 0' "$(grep -A1 '^F 1 ' <<< "$out" | tail -n 1)"
expect "jump: last frame aloft" 'av 100 537.5390625 2 0 255 0 0' "$(grep -A1 '^F 57 ' <<< "$out" | tail -n 1)"
expect "jump: landed" 'av 100 540 0 0 264.375 0 0' "$(grep -A1 '^F 58 ' <<< "$out" | tail -n 1)"
expect "jump: END" 'END frames=60 status=0 reason="" elapsed=0.9375 jumps=1 doublejumps=0 throws=0 pixels=0 garbage=0 loose=0' \
  "$(tail -n 1 <<< "$out")"

# Falling from (400, 0): y = 0.0732421875 n (n + 1) up to frame 42, then 6.25 px per frame at
# the 400 px/s limit; 601.025390625 after frame 117, so frame 118 dies and the clock stops.
out=$("$sim" "$work/void.lv" --frames 130 --dt 0.015625)
expect "fall: END" 'END frames=130 status=1 reason="fell of the face of the world" elapsed=1.84375 jumps=0 doublejumps=0 throws=0 pixels=0 garbage=0 loose=0' \
  "$out"

# The default frame is 0.017 s; without a script or --frames nothing runs.
out=$("$sim" "$work/floor.lv")
expect "no frames" 'END frames=0 status=0 reason="" elapsed=0 jumps=0 doublejumps=0 throws=0 pixels=0 garbage=0 loose=0' "$out"
printf '2 -\n1 R\n' > "$work/short.in"
out=$("$sim" "$work/floor.lv" --inputs "$work/short.in" --trace --index 3)
expect "default dt" 'av 103.40000000000001 540 1 0 0 0 0' "$(tail -n 2 <<< "$out" | head -n 1)"
expect "default dt: elapsed" 'END frames=3 status=0 reason="" elapsed=0.051000000000000004 jumps=0 doublejumps=0 throws=0 pixels=3 garbage=0 loose=0' \
  "$(tail -n 1 <<< "$out")"

# Bad input: the loader's message or the script's line, and status 1.
printf 'zz\001\001' > "$work/bad.lv"
out=$("$sim" "$work/bad.lv" --frames 5)
expect "unknown record: status" 1 $?
expect "unknown record: message" "UNMAPPABLE 'zz'!!!" "$out"
out=$("$sim" "$work/missing.lv")
expect "missing level: status" 1 $?
expect "missing level: message" "CANNOT OPEN '$work/missing.lv'!!!" "$out"
printf '# fine\n3 RZ\n2 RQ\n' > "$work/bad.in"
out=$("$sim" "$work/floor.lv" --inputs "$work/bad.in")
expect "bad script: status" 1 $?
expect "bad script: message" "$work/bad.in:3: unknown key in 'RQ' (keys are L R U D Z X, or - for none)" "$out"
"$sim" "$work/floor.lv" --dt 0 > /dev/null 2>&1
expect "bad dt: status" 2 $?

[ "$failures" -eq 0 ] && echo "all binhopper-sim checks passed"
exit "$failures"
