#!/usr/bin/env bash
# binhopper-sim's command line and output. The avatar stands at (100, 540) on a floor and walks
# 200 px/s: 3.125 px per frame at dt = 1/64 s, 3.4 px at the default 0.017 s.
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

"$build/binhopper-level" compile tests/sim/levels/floor.txt "$work/floor.lv" || exit 1

# Comments and blank lines in the script are skipped; the clock counts the whole second.
printf '# walk\n\n64 R\n' > "$work/walk.in"
out=$("$sim" "$work/floor.lv" --inputs "$work/walk.in" --dt 0.015625 --trace)
expect "walk: exit status" 0 $?
expect "walk: END" 'END frames=64 status=0 reason="" elapsed=1 jumps=0 doublejumps=0 throws=0 pixels=200 garbage=0 loose=0' \
  "$(tail -n 1 <<< "$out")"
expect "walk: first frame" $'F 1 1111111111\nav 103.125 540 1 0 0 0 0' "$(sed -n 1,2p <<< "$out")"
expect "walk: lines" 129 "$(wc -l <<< "$out")"

# Without a script or --frames nothing runs; --frames runs on past the script with no keys.
expect "no frames" 'END frames=0 status=0 reason="" elapsed=0 jumps=0 doublejumps=0 throws=0 pixels=0 garbage=0 loose=0' \
  "$("$sim" "$work/floor.lv")"
printf '2 -\n1 R\n' > "$work/short.in"
out=$("$sim" "$work/floor.lv" --inputs "$work/short.in" --frames 5 --trace --index 3)
expect "default dt" 'av 103.40000000000001 540 0 0 0 0 0' "$(tail -n 2 <<< "$out" | head -n 1)"
expect "default dt: END" 'END frames=5 status=0 reason="" elapsed=0.085000000000000006 jumps=0 doublejumps=0 throws=0 pixels=3 garbage=0 loose=0' \
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
