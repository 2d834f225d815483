#!/usr/bin/env bash
# Replays: every shipped level's solution kept with --record plays back with --replay to the
# very trace and END line of the script, in a file of at most 20 KB; a replay that cannot be
# used is refused with one message and nothing played, without waiting on a FIFO; a replay
# that ends otherwise than it recorded exits 1 after its END line.
set -u
BUILD=${1:?usage: $0 BUILD_DIR}
source "$(dirname "$0")/../lib/check.bash"
sim=$BUILD/binhopper-sim

levels=0
for folder in levels packs/*/; do
  folder=${folder%/}
  for script in "$folder"/solutions/*.txt; do
    [ -f "$script" ] || continue
    n=$(basename "$script" .txt)
    run=$WORK/${folder//\//-}-$n
    "$sim" "$folder/$n.lv" --inputs "$script" --index $((n - 1)) --trace --record "$run.rpl" > "$run.script" ||
      fail "$folder level $n: recording exited with $?"
    "$sim" --replay "$run.rpl" "$folder/$n.lv" --index $((n - 1)) --trace > "$run.replay" 2> "$run.err" ||
      fail "$folder level $n: the replay exited with $?: $(cat "$run.err")"
    cmp -s "$run.script" "$run.replay" ||
      fail "$folder level $n: the replay's trace differs from the script's: $(diff "$run.script" "$run.replay" | head -3)"
    size=$(stat -c %s "$run.rpl")
    [ "$size" -le 20480 ] || fail "$folder level $n: its replay takes $size bytes"
    echo "$folder level $n: $(tail -n 1 "$run.replay" | grep -o 'elapsed=[^ ]*'), replay of $size bytes"
    levels=$((levels + 1))
  done
done
[ "$levels" -gt 0 ] || fail "no shipped solution found"

# Level 1's replay, damaged in place: its campaign "levels" puts the version at byte 4, the
# elapsed time at 24 and the frame count at 32.
good=$WORK/levels-1.rpl
patched() {  # patched NAME OFFSET BYTES: a copy of the good replay with BYTES (printf) at OFFSET
  cp "$good" "$WORK/$1.rpl"
  printf "$3" | dd of="$WORK/$1.rpl" bs=1 seek="$2" conv=notrunc status=none
}
patched version 4 '\x02\x00'
patched frames 32 '\x01\x00\x04\x00'
patched late 24 '\x00\x00\x00\x00\x00\x00\xf0\x3f'  # 1.0 s: a valid file that no longer ends true
head -c 30 "$good" > "$WORK/cut.rpl"
{ cat "$good"; printf junk; } > "$WORK/trailing.rpl"
mkfifo "$WORK/fifo.rpl"
end_of_file=$(stat -c %s "$good")

refused() {  # refused NAME LEVEL MESSAGE: the whole output is "FILE: MESSAGE", and the exit status 1
  local out status
  out=$(timeout $PATIENCE "$sim" --replay "$WORK/$1.rpl" "$2" --trace 2>&1)
  status=$?
  [ "$status" -eq 1 ] || fail "$1: exit status $status, not 1"
  [ "$out" = "$WORK/$1.rpl: $3" ] || fail "$1: the output is '$out'"
}
cp "$good" "$WORK/other-level.rpl"
refused other-level levels/2.lv "this replay was recorded on a different version of level 1"
refused version levels/1.lv "byte 4: version 2, and this game reads version 1"
refused frames levels/1.lv "byte 32: 262145 frames, more than the 262144 a replay may hold"
refused cut levels/1.lv "byte 24: cut short in the elapsed time"
refused trailing levels/1.lv "byte $end_of_file: 4 bytes after the last frame"
refused fifo levels/1.lv "cannot read: not a regular file"

"$sim" --replay "$WORK/late.rpl" levels/1.lv > "$WORK/late.out" 2> "$WORK/late.err"
status=$?
[ "$status" -eq 1 ] || fail "a replay that ends late: exit status $status, not 1"
# It still plays the run to the solution's own end, and says how that differs from the header.
solved=$("$sim" levels/1.lv --inputs levels/solutions/1.txt --index 0 | tail -n 1)
[ "$(tail -n 1 "$WORK/late.out")" = "$solved" ] || fail "a replay that ends late: no END line of the solution's run"
elapsed=$(sed -n 's/.* elapsed=\([^ ]*\).*/\1/p' <<<"$solved")
grep -qF "/late.rpl: it recorded status=2 reason=\"\" elapsed=1 but played to status=2 reason=\"\" elapsed=$elapsed" \
  "$WORK/late.err" || fail "a replay that ends late: $(cat "$WORK/late.err")"

# A replay carries its own frames, and a kept run needs a level number.
for arguments in "--replay $good levels/1.lv --inputs levels/solutions/1.txt" "--replay $good levels/1.lv --dt 0.02" \
  "levels/title.lv --record $WORK/title.rpl"; do
  # shellcheck disable=SC2086
  "$sim" $arguments > /dev/null 2>&1
  status=$?
  [ "$status" -eq 2 ] || fail "'$arguments': exit status $status, not 2"
done
[ ! -e "$WORK/title.rpl" ] || fail "a run without a level number was kept"

# A run is never kept over a file the same command reads, by any name.
mkdir -p "$WORK/own" && cp levels/1.lv "$WORK/own/1.lv" && cp levels/solutions/1.txt "$WORK/own/s.txt"
ln -s 1.lv "$WORK/own/link.rpl"
for target in 1.lv link.rpl s.txt; do
  "$sim" "$WORK/own/1.lv" --inputs "$WORK/own/s.txt" --record "$WORK/own/$target" > /dev/null 2> "$WORK/own.err"
  status=$?
  [ "$status" -eq 2 ] && grep -q "would write over" "$WORK/own.err" ||
    fail "--record $target: exit status $status, '$(cat "$WORK/own.err")'"
done
cmp -s levels/1.lv "$WORK/own/1.lv" && cmp -s levels/solutions/1.txt "$WORK/own/s.txt" ||
  fail "a run was kept over a file the command read"

finish "all $levels shipped solutions replay to their traces, and bad replays are refused"
