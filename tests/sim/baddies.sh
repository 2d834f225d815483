#!/bin/bash
# Baddies walk at 70 px/s (the level traces pin their patrol), shove resting bags (tame) or kill
# (feral), and land walking the way they last flew. With dt = 1/32 s a walking step is
# 2.1875 px and every position is an exact binary fraction.
source "$(dirname "$0")/lib/objects.bash" "$1"
DT=0.03125

# A bag in the baddie's cell at the left end of the floor. In frame 1 the baddie steps left to
# 97.8125 and turns at the ledge; it then shoves the bag in its new direction: the step
# (+2.1875) leaves the boxes overlapping, so the bag goes to the baddie's x + 18. From then on
# each step pushes the bag by the step alone (it no longer overlaps after that).
level shove "bd 5 19 tame" "gb 5 19" "$(floor 5 14)"
play shove shove $DT "3 -"
expect shove 1 bd 1 "bd 97.8125 380 0 0 0 1"
expect shove 1 gb 1 "gb 115.8125 380 0 0 0"
expect shove 2 gb 1 "gb 115.8125 380 0 0 0"
expect shove 3 gb 1 "gb 118 380 0 0 0"

# Edge contact, with dt = 0.1 s (a step of exactly 7 px): the feral baddie walks left from
# x = 180; after frame 9 its box's left edge (117 + 2) meets the avatar's right edge (100 + 19).
level bite "av 5 19" "bd 9 19 feral" "$(floor 0 39)"
play bite bite 0.1 "10 -"
expect bite 8 av 1 "av 100 380 0 0 0 0 0"
expect bite 9 bd 1 "bd 117 380 0 0 0 0"
expect bite 9 av 1 "av 100 380 0 0 0 1 0"
expect_end bite "status=1" 'reason="have become a snack for a feral baddie."'

# Carried and thrown. Picked up in frame 2 (it has walked to 297.8125, under the avatar's
# point (310, 390)). Thrown left from (300, 360) in frame 4, it flies like a bag, lands in
# frame 19 at x = 206.25 with vx = -200, walks left at once: 204.0625.
level carry "av 15 19" "bd 15 19 tame" "$(floor 0 39)"
play carry thrown $DT "1 D" "1 DX" "1 -" "1 X" "16 -"
expect thrown 2 bd 1 "bd 300 365 2 0 0 0"
expect thrown 4 bd 1 "bd 293.75 357.4609375 1 -200 -81.25 0"
expect thrown 19 bd 1 "bd 204.0625 380 0 -200 181.25 0"
# Put down in frame 4 from (300, 365) with vx = 0 (it walked left before): it lands in
# frame 11 (381.40625 after frame 10) and walks right.
play carry dropped $DT "1 D" "1 DX" "1 D" "1 DX" "8 -"
expect dropped 4 bd 1 "bd 300 365.5859375 1 0 18.75 1"
expect dropped 11 bd 1 "bd 302.1875 380 0 0 131.25 1"

finish
