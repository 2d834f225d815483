#!/usr/bin/env bash
# binhopper-level: a text level compiles to the expected bytes, dumps back to text that
# compiles to the same bytes, and bad input on either side exits 1 with one clear line naming
# the file, writing nothing.
set -u
tool="$1/binhopper-level"
source "$(dirname "$0")/../lib/check.bash"

# Two tiles and an avatar drawn, then a lever and a message.
printf 'grid\n\n.A\n34\nend\nvr 10 15 2 on\nms 3 4 "Hello"\n' > "$WORK/level.txt"
"$tool" compile "$WORK/level.txt" "$WORK/level.lv" || fail "compile exited $?"
printf 'av\x01\x01tl\x00\x02\x03tl\x01\x02\x04vr\x0a\x0f\x02\x01ms\x03\x04Hello$' | cmp -s - "$WORK/level.lv" ||
  fail "compiled bytes: $(xxd -p "$WORK/level.lv")"
"$tool" dump "$WORK/level.lv" > "$WORK/dumped.txt" || fail "dump exited $?"
"$tool" compile "$WORK/dumped.txt" "$WORK/again.lv" && cmp -s "$WORK/level.lv" "$WORK/again.lv" ||
  fail "dump and compile changed the bytes"

expect_exit() {  # STATUS LABEL PATTERN COMMAND...
  "${@:4}" > "$WORK/out" 2> "$WORK/err"
  local status=$?
  [ "$status" = "$1" ] && grep -q -- "$3" "$WORK/err" && [ ! -s "$WORK/out" ] ||
    fail "$2: status $status, message '$(cat "$WORK/err")'"
}
expect_error() { expect_exit 1 "$@"; }
printf 'tl 1 2 12\n' > "$WORK/bad.txt"
expect_error "bad channel" "bad.txt: line 1: the tile channel must be a number from 0 to 9, not '12'" \
  "$tool" compile "$WORK/bad.txt" "$WORK/bad.lv"
[ ! -e "$WORK/bad.lv" ] || fail "a failed compile wrote a file"
printf 'tl\x01\x02\x03zz\x01\x01' > "$WORK/bad.lv"
expect_error "unknown code" "bad.lv: byte 5: unknown kind 'zz'" "$tool" dump "$WORK/bad.lv"
expect_error "missing file" "cannot read '.*nothing.lv'" "$tool" dump "$WORK/nothing.lv"
expect_error "a directory to dump" "cannot read '$WORK': Is a directory" "$tool" dump "$WORK"
expect_error "a directory to compile" "cannot read '$WORK'" "$tool" compile "$WORK" "$WORK/x.lv"
ln -s /dev/full "$WORK/device.lv"
expect_error "a device to replace" "CANNOT OPEN" "$tool" compile "$WORK/level.txt" "$WORK/device.lv"
[ -c /dev/full ] && [ -L "$WORK/device.lv" ] || fail "the device or the link to it was replaced"
expect_exit 2 "no arguments" "usage: binhopper-level compile SRC.txt OUT.lv" "$tool"
expect_exit 2 "unknown command" "usage:" "$tool" show "$WORK/level.lv"

# check: every numbered level can be finished (the title and winner scenes have no avatar on
# purpose); a level without avatar and with a bin wanting more bags than it holds is reported
# line by line with exit 1.
for level in levels/[0-9]*.lv; do
  "$tool" check "$level" > "$WORK/out" 2>&1 || fail "check $level: $(cat "$WORK/out")"
done
printf 'ct\x05\x05\x02gb\x01\x01' > "$WORK/unfinishable.lv"
"$tool" check "$WORK/unfinishable.lv" > "$WORK/out" 2>&1
status=$?
[ "$status" = 1 ] && grep -q "unfinishable.lv: no avatar" "$WORK/out" &&
  grep -q "the containers want 2 bags but the level holds 1" "$WORK/out" ||
  fail "check of a level that cannot be finished: status $status, '$(cat "$WORK/out")'"

finish "level tool: all checks passed"
