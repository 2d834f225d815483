#!/bin/bash
# Force fields and spikes kill where the avatar's box (x + 1, y + 2) to (x + 19, y + 20) takes
# in one of their points. The avatar walks 6.25 px per frame (dt = 1/32 s) from x = 100
# (rightwards) or x = 300 (leftwards) towards the hazard at (200, 380).
source "$(dirname "$0")/lib/objects.bash" "$1"
DT=0.03125

hazard_run() {  # NAME HAZARD_LINE START_COL KEYS DEATH_FRAME REASON
  level "$1" <<TEXT
av $3 19
$2
$(floor 0 39)
TEXT
  play "$1" "$1" $DT <<SCRIPT
20 $4
SCRIPT
  expect "$1" $(($5 - 1)) av 1 "$(awk -v f=$(($5 - 1)) -v s="$3" -v k="$4" 'BEGIN {
    x = s * 20 + (k == "R" ? 6.25 : -6.25) * f; printf "av %.17g 380 1 0 0 0 0", x }')"
  expect_end "$1" "status=1" "reason=\"$6\""
  local died
  died=$(awk '$1 == "F" { frame = $2 } $1 == "av" && $7 == 1 { print frame; exit }' "$WORK/$1.out")
  [ "$died" = "$5" ] || fail "$1: expected death in frame $5, got '$died'"
}

# Horizontal beam, points (210, 390), (200, 390), (220, 390). From the left the end point 200
# is reached at x = 181.25 (frame 13); from the right the end point 220 at x = 218.75 (frame
# 13), two frames before the centre would be.
hazard_run ff_left "ff 10 19 horizontal" 5 R 13 "got baked by a force field"
hazard_run ff_right "ff 10 19 horizontal" 15 L 13 "got baked by a force field"
# Vertical beam, points (210, 390), (210, 400), (210, 380): only the centre is level with the
# walking avatar (its box spans y 382 to 400, bottom excluded): x = 193.75, frame 15.
hazard_run ff_vertical "ff 10 19 vertical" 5 R 15 "got baked by a force field"
# Spikes, points (200, 398), (210, 398), (220, 398): frames 13 from either side, as above.
hazard_run spikes_left "sp 10 19" 5 R 13 "ate some spiky death"
hazard_run spikes_right "sp 10 19" 15 L 13 "ate some spiky death"

# A vertical beam one cell above the floor, (200, 360): its lowest point (210, 380) is above
# the walking avatar's box (top y + 2 = 382); it walks under it unharmed.
level ff_above <<TEXT
av 5 19
ff 10 18 vertical
$(floor 0 39)
TEXT
play ff_above ff_above $DT <<'SCRIPT'
30 R
SCRIPT
expect_end ff_above "status=0"

finish
