#!/usr/bin/env bash
# levelshot draws a level's sky, tile borders and theme layers where the rules put them, and
# rejects bad input with status 1.
set -u
build="$1"
source "$(dirname "$0")/../lib/check.bash"

# Row 10: tile (10, 10) stands alone; tiles (20..22, 10) are channel 0 and (23, 10) channel 1.
printf 'grid%10s\n..........0.........0001\nend\n' | tr ' ' '\n' > "$WORK/level.txt"
"$build/binhopper-level" compile "$WORK/level.txt" "$WORK/level.lv" || fail "compile"

pixel() {  # pixel THEME X Y -> "r,g,b"
  convert "$WORK/$1.png" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
expect_pixel() {  # expect_pixel LABEL THEME X Y R,G,B
  [ "$(pixel "$2" "$3" "$4")" = "$5" ] || fail "$1: pixel ($3, $4) under $2 is $(pixel "$2" "$3" "$4"), not $5"
}

for theme in Sky Night Crooked; do
  scripts/headless "$build/levelshot" "$WORK/level.lv" "$WORK/$theme.png" "$theme" || fail "levelshot $theme exited $?"
done
[ "$(identify -format '%wx%h' "$WORK/Sky.png")" = 800x600 ] || fail "picture size"

# Sky: top colour (0.58, 0.85, 1.0) at row 0, bottom colour (0.3, 0.55, 1.0) at row 599.
expect_pixel "sky top" Sky 400 0 148,217,255
expect_pixel "sky bottom" Sky 400 599 77,140,255
# Alone: black borders on every side.
for xy in "200 210" "219 210" "210 200" "210 219"; do expect_pixel "border of a lone tile" Sky $xy 0,0,0; done
# Between same-channel tiles no border; between channels a border on both sides.
[ "$(pixel Sky 419 210)" != 0,0,0 ] && [ "$(pixel Sky 420 210)" != 0,0,0 ] || fail "border between tiles of one channel"
expect_pixel "border before another channel" Sky 459 210 0,0,0
expect_pixel "border after another channel" Sky 460 210 0,0,0
# Night: the sky (40, 10, 60) under a black veil of alpha 80/255.
expect_pixel "night sky under the veil" Night 400 0 27,7,41
# Crooked tilts the level but never the sky.
expect_pixel "crooked sky" Crooked 400 0 148,217,255
[ "$(pixel Crooked 200 210)" != 0,0,0 ] || fail "the crooked level is not tilted"

scripts/headless "$build/levelshot" "$WORK/level.lv" "$WORK/x.png" Plaid > /dev/null 2> "$WORK/err"
[ $? = 1 ] && grep -q "no theme called Plaid" "$WORK/err" || fail "unknown theme: $(cat "$WORK/err")"
scripts/headless "$build/levelshot" "$WORK/missing.lv" "$WORK/x.png" > /dev/null 2> "$WORK/err"
[ $? = 1 ] && grep -q "CANNOT OPEN '.*missing.lv'!!!" "$WORK/err" || fail "missing level: $(cat "$WORK/err")"
scripts/headless "$build/levelshot" "$WORK" "$WORK/x.png" > /dev/null 2> "$WORK/err"
[ $? = 1 ] && grep -q "CANNOT OPEN '$WORK'!!!" "$WORK/err" || fail "a directory as level: $(cat "$WORK/err")"
# A replaced sheet with fewer frames than the game draws from ends with one line, not a crash.
mkdir "$WORK/small" && cp -r media levels "$WORK/small/" && convert -size 4x4 xc:red "$WORK/small/media/tilesheet.png"
headless=$PWD/scripts/headless
(cd "$WORK/small" && "$headless" "$build/levelshot" levels/1.lv "$WORK/x.png") > "$WORK/err" 2>&1
[ $? = 1 ] && grep -q "^SHEET 'media/tilesheet.png' HAS NO FRAME [0-9]*!!!$" "$WORK/err" || fail "small sheet: $(cat "$WORK/err")"

finish "levelshot: all checks passed"
