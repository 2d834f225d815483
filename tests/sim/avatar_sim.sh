#!/usr/bin/env bash
# binhopper-sim's command line and output. The avatar stands at (100, 540) on a floor and walks
# 200 px/s: 3.125 px per frame at dt = 1/64 s, 3.4 px at the default 0.017 s.
source "$(dirname "$0")/lib/objects.bash" "$1"
sim="$BUILD/binhopper-sim"

# The trace and END formats are pinned by level_solutions.sh's hashes.
level floor "$(cat tests/sim/levels/floor.txt)"

# Without a script or --frames nothing runs; --frames runs on past the script with no keys.
[ "$("$sim" "$WORK/floor.lv")" = 'END frames=0 status=0 reason="" elapsed=0 jumps=0 doublejumps=0 throws=0 pixels=0 garbage=0 loose=0' ] ||
  fail "no frames"
printf '2 -\n1 R\n' > "$WORK/short.in"
"$sim" "$WORK/floor.lv" --inputs "$WORK/short.in" --frames 5 --trace --index 3 > "$WORK/short.out"
expect short 5 av 1 "av 103.40000000000001 540 0 0 0 0 0"
expect_end short "frames=5" "elapsed=0.085000000000000006" "pixels=3"
# A script may come through a pipe (process substitution); a level may not, and is refused
# without waiting for a writer.
"$sim" "$WORK/floor.lv" --inputs <(cat "$WORK/short.in") --frames 5 --trace --index 3 | cmp -s - "$WORK/short.out" ||
  fail "a script through a pipe plays differently"
mkfifo "$WORK/fifo.lv"
out=$(timeout $PATIENCE "$sim" "$WORK/fifo.lv" --frames 5)
[ "$out" = "CANNOT OPEN '$WORK/fifo.lv'!!!" ] || fail "a FIFO as level: '$out'"

# Bad input: the loader's message or the script's line, and status 1; a bad option, status 2.
expect_failure() {  # LABEL STATUS MESSAGE ARGUMENTS...
  local out status
  out=$("$sim" "${@:4}")
  status=$?
  [ "$status" = "$2" ] && [ "$out" = "$3" ] || fail "$1: status $status, output '$out'"
}
printf 'zz\001\001' > "$WORK/bad.lv"
printf '# fine\n3 RZ\n2 RQ\n' > "$WORK/bad.in"
expect_failure "unknown record" 1 "UNMAPPABLE 'zz'!!!" "$WORK/bad.lv" --frames 5
expect_failure "missing level" 1 "CANNOT OPEN '$WORK/missing.lv'!!!" "$WORK/missing.lv"
expect_failure "bad script" 1 "$WORK/bad.in:3: unknown key in 'RQ' (keys are L R U D Z X, or - for none)" \
  "$WORK/floor.lv" --inputs "$WORK/bad.in"
expect_failure "a directory as level" 1 "CANNOT OPEN '$WORK'!!!" "$WORK" --frames 5
expect_failure "a directory as script" 1 "CANNOT OPEN '$WORK'!!!" "$WORK/floor.lv" --inputs "$WORK"
for bad in "--dt 0" "--dt nan" "--frames 4294967297" "--frames -1" "--index 300000000" "--index -3" "--frames 5x"; do
  # shellcheck disable=SC2086
  "$sim" "$WORK/floor.lv" $bad > /dev/null 2> "$WORK/usage.err"
  [ $? = 2 ] && grep -q "^usage:" "$WORK/usage.err" || fail "'$bad' is not refused with the usage and status 2"
done

finish
