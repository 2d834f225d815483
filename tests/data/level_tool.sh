#!/usr/bin/env bash
# binhopper-level: a text level compiles to the expected bytes, dumps back to text that
# compiles to the same bytes, and bad input on either side exits 1 with one clear line naming
# the file, writing nothing.
set -u
tool="$1/binhopper-level"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Two tiles and an avatar drawn, then a lever and a message.
printf 'grid\n\n.A\n34\nend\nvr 10 15 2 on\nms 3 4 "Hello"\n' > "$work/level.txt"
"$tool" compile "$work/level.txt" "$work/level.lv" || fail "compile exited $?"
printf 'av\x01\x01tl\x00\x02\x03tl\x01\x02\x04vr\x0a\x0f\x02\x01ms\x03\x04Hello$' | cmp -s - "$work/level.lv" ||
  fail "compiled bytes: $(xxd -p "$work/level.lv")"
"$tool" dump "$work/level.lv" > "$work/dumped.txt" || fail "dump exited $?"
"$tool" compile "$work/dumped.txt" "$work/again.lv" && cmp -s "$work/level.lv" "$work/again.lv" ||
  fail "dump and compile changed the bytes"

expect_exit() {  # STATUS LABEL PATTERN COMMAND...
  "${@:4}" > "$work/out" 2> "$work/err"
  local status=$?
  [ "$status" = "$1" ] && grep -q -- "$3" "$work/err" && [ ! -s "$work/out" ] ||
    fail "$2: status $status, message '$(cat "$work/err")'"
}
expect_error() { expect_exit 1 "$@"; }
printf 'tl 1 2 12\n' > "$work/bad.txt"
expect_error "bad channel" "bad.txt: line 1: the tile channel must be a number from 0 to 9, not '12'" \
  "$tool" compile "$work/bad.txt" "$work/bad.lv"
[ ! -e "$work/bad.lv" ] || fail "a failed compile wrote a file"
printf 'tl\x01\x02\x03zz\x01\x01' > "$work/bad.lv"
expect_error "unknown code" "bad.lv: byte 5: unknown kind 'zz'" "$tool" dump "$work/bad.lv"
expect_error "missing file" "cannot read '.*nothing.lv'" "$tool" dump "$work/nothing.lv"
expect_error "a directory to dump" "cannot read '$work': Is a directory" "$tool" dump "$work"
expect_error "a directory to compile" "cannot read '$work'" "$tool" compile "$work" "$work/x.lv"
ln -s /dev/full "$work/device.lv"
expect_error "a device to replace" "CANNOT OPEN" "$tool" compile "$work/level.txt" "$work/device.lv"
[ -c /dev/full ] && [ -L "$work/device.lv" ] || fail "the device or the link to it was replaced"
expect_exit 2 "no arguments" "usage: binhopper-level compile SRC.txt OUT.lv" "$tool"
expect_exit 2 "unknown command" "usage:" "$tool" show "$work/level.lv"

# check: every numbered level can be finished (the title and winner scenes have no avatar on
# purpose); a level without avatar and with a bin wanting more bags than it holds is reported
# line by line with exit 1.
for level in levels/[0-9]*.lv; do
  "$tool" check "$level" > "$work/out" 2>&1 || fail "check $level: $(cat "$work/out")"
done
printf 'ct\x05\x05\x02gb\x01\x01' > "$work/unfinishable.lv"
"$tool" check "$work/unfinishable.lv" > "$work/out" 2>&1
status=$?
[ "$status" = 1 ] && grep -q "unfinishable.lv: no avatar" "$work/out" &&
  grep -q "the containers want 2 bags but the level holds 1" "$work/out" ||
  fail "check of a level that cannot be finished: status $status, '$(cat "$work/out")'"

[ "$failures" = 0 ] && echo "level tool: all checks passed"
exit "$failures"
