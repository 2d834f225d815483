#!/usr/bin/env bash
# binhopper-level: a text level compiles to the expected bytes, dumps back to text that
# compiles to the same bytes, and bad input on either side exits 1 with one clear line naming
# the file, writing nothing. The level check reports a level that cannot be finished, and the
# pack commands make, check and zip a pack from another directory. (The shipped campaigns' own
# levels are tests/data/campaigns_check.sh's business.)
set -u
tool="$(cd "$1" && pwd)/binhopper-level"
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
cp "$WORK/level.txt" "$WORK/self.txt"
ln "$WORK/self.txt" "$WORK/self-link.lv"
expect_error "compile over its own text" "would be written over the text it is made from" \
  "$tool" compile "$WORK/self.txt" "$WORK/self-link.lv"
cmp -s "$WORK/level.txt" "$WORK/self.txt" || fail "compile wrote over its own text"
expect_exit 2 "no arguments" "usage: binhopper-level compile SRC.txt OUT.lv" "$tool"
expect_exit 2 "unknown command" "usage:" "$tool" show "$WORK/level.lv"

# check: a level without avatar and with a bin wanting more bags than it holds is reported line
# by line with exit 1.
printf 'ct\x05\x05\x02gb\x01\x01' > "$WORK/unfinishable.lv"
"$tool" check "$WORK/unfinishable.lv" > "$WORK/out" 2>&1
status=$?
[ "$status" = 1 ] && grep -q "unfinishable.lv: no avatar" "$WORK/out" &&
  grep -q "the containers want 2 bags but the level holds 1" "$WORK/out" ||
  fail "check of a level that cannot be finished: status $status, '$(cat "$WORK/out")'"

# pack new: a pack that reads cleanly, with an empty level 1 that cannot be finished yet, and
# the author told what to do next; it never overwrites. The pack commands play levels headless
# and need none of the game's pictures: they work from a folder without the game's data, and
# name the pack's files as the author gave the folder.
unset BINHOPPER_DATA
repo=$PWD
cd "$WORK" || exit 1
"$tool" pack new fresh "Fresh Start" > out 2>&1 || fail "pack new: $(cat out)"
grep -qx "name = Fresh Start" fresh/pack.txt && grep -qx "level 1 = 60.0" fresh/pack.txt && [ -f fresh/1.lv ] &&
  [ ! -s fresh/1.lv ] || fail "pack new made: $(ls fresh) $(cat fresh/pack.txt)"
grep -q "binhopper --editor fresh/1.lv" out && grep -q "binhopper-level pack check fresh$" out &&
  grep -q "binhopper-level pack zip fresh fresh.zip" out || fail "pack new named no next steps: $(cat out)"
grep -q "the menu's \"Add a campaign…\"" out || fail "pack new names no menu button the game has: $(cat out)"
expect_error "pack new over a pack" "fresh/pack.txt: already exists" "$tool" pack new fresh "Again"
"$tool" pack check fresh > out 2>&1
status=$?
[ "$status" = 1 ] && grep -qx "fresh/1.lv: no avatar" out &&
  grep -qx 'LEVEL n=1 target=60.00 solution=none crowns=none name=""' out && grep -qx 'PROOF n=1 unproven' out &&
  grep -qx 'PACK levels=1 problems=2 proven=0 name="Fresh Start"' out ||
  fail "check of a new pack: status $status, '$(cat out)'"

# pack zip: refuses a pack that fails its check or holds a file no pack holds, writing nothing;
# a good pack zips to the same bytes every time.
"$tool" pack zip fresh fresh.zip > out 2> err
status=$?
[ "$status" = 1 ] && grep -qx "fresh/1.lv: no avatar" out &&
  grep -qx "binhopper-level: fresh does not pass its check; no archive written" err && [ ! -e fresh.zip ] ||
  fail "zip of a failing pack: status $status, '$(cat out err)'"
mkdir -p good/solutions
cp "$repo/levels/1.lv" good/
cp "$repo/levels/solutions/1.txt" good/solutions/
printf 'name = Good\nlevel 1 = 15.0 First Steps\n' > good/pack.txt
"$tool" pack zip good good.zip > out 2> err || fail "zip of a good pack: $(cat out err)"
grep -qx "good.zip: pack 'good', 3 files" out || fail "zip said: $(cat out)"
[ "$(head -c 4 good.zip | od -A n -t x1 | tr -d ' ')" = 504b0304 ] || fail "good.zip is not a zip archive"
"$tool" pack zip good again.zip > /dev/null 2>&1 && cmp -s good.zip again.zip || fail "zipping twice differs"
cp good/pack.txt pack-before.txt
expect_error "zip over the pack's own pack.txt" "would be written over good/pack.txt, part of the pack" \
  "$tool" pack zip good good/pack.txt
cmp -s good/pack.txt pack-before.txt || fail "pack zip wrote over the pack's own pack.txt"
# No pack takes the folder name of the game's own campaigns: they would share their progress.
mkdir -p mine/levels && cp -r good/. mine/levels/
"$tool" pack check mine/levels > out 2>&1 && fail "a pack named 'levels' passed its check"
grep -q "mine/levels: the folder name 'levels' belongs to the built-in campaign" out ||
  fail "pack check of a pack named 'levels': $(cat out)"
# A sign longer than a sign may hold stops the check before its level is built or played.
printf 'ms\x02\x02%s$' "$(head -c 1040000 /dev/zero | tr '\0' 'y')" >> good/1.lv
start=$(date +%s%N)
"$tool" pack check good > out 2>&1 && fail "a pack with a sign of a megabyte passed its check"
echo "pack check of a pack with a 1 MB sign: $((($(date +%s%N) - start) / 1000000)) ms"
grep -q "good/1.lv: the sign at column 2, row 2 holds 1040000 characters, more than the 90 a sign may hold" out ||
  fail "pack check of a pack with a long sign: $(cat out)"
cp "$repo/levels/1.lv" good/
touch good/notes.md
expect_error "zip of a folder with a stray file" "good: entry 'good/notes.md': not part of a pack" \
  "$tool" pack zip good stray.zip
expect_exit 2 "pack without a command" "binhopper-level pack check DIR" "$tool" pack
cd "$repo" || exit 1

finish "level tool: all checks passed"
