#!/bin/bash
# Picking up, throwing and putting down bags, and how a bag flies, lands and rests. dt = 1/32 s
# keeps every number an exact binary fraction: gravity adds 18.75 px/s per frame, and a bag
# moves by its new speed / 32 each frame.
source "$(dirname "$0")/lib/objects.bash" "$1"
DT=0.03125
PICK=("1 D" "1 DX")  # crouch, then pick up what lies under the avatar

# Bag A hangs one cell above bag B, which lies under the avatar. A falls from y = 360 and is at
# 360 + 0.29296875 n(n+1) after n frames: 372.3046875 after frame 6, so in frame 7 the avatar's
# pick-up point (110, 390) lies inside A's box while A is still flying; A lands in frame 9
# (depth 381.09375 + 20 - 400 > 1 after frame 8) keeping its speed 8 x 18.75 = 150.
level pick "av 5 19" "gb 5 18" "gb 5 19" "$(floor 0 39)"
play pick pick $DT "6 D" "1 DX" "2 D"
expect pick 7 av 1 "av 100 380 3 0 0 0 1"
expect pick 7 gb 1 "gb 100 376.40625 1 0 131.25"
expect pick 7 gb 2 "gb 100 365 2 0 0"
expect pick 9 gb 1 "gb 100 380 0 0 150"

# A wall tile at column 2, row 18. Thrown left from x = 100 in frame 4, the bag's left edge is
# at 58.25 after frame 10, 1.75 px into the wall: frame 11 pushes it out to x = 58, stops it
# dead and it falls from there. 0.8984375 px into the floor after frame 19 is ignored (not
# more than 1 px); it lands in frame 21 at x = 58 with vy = 10 x 18.75.
level wall "av 5 19" "gb 5 19" "tl 2 18 0" "$(floor 0 39)"
play wall wall $DT "${PICK[@]}" "1 -" "1 X" "17 -"
expect wall 10 gb 1 "gb 56.25 354.53125 1 -200 31.25"
expect wall 11 gb 1 "gb 58 355.1171875 1 0 18.75"
expect wall 20 gb 1 "gb 58 386.7578125 1 0 187.5"
expect wall 21 gb 1 "gb 58 380 0 0 187.5"

# The floor ends at x = 260. Carried to x = 156.25 and thrown right, the bag lands in frame 28
# at x = 250: its middle ground point (260, 401) is off the floor, (255, 401) is on it, and it
# stays at rest there (the avatar's single middle point would have let it fall).
level ledge "av 5 19" "gb 5 19" "$(floor 0 12)"
play ledge ledge $DT "${PICK[@]}" "9 R" "1 -" "1 X" "28 -"
expect ledge 12 av 1 "av 156.25 380 0 0 0 0 1"
expect ledge 28 gb 1 "gb 250 380 0 200 181.25"
expect ledge 40 gb 1 "gb 250 380 0 200 181.25"

finish
