#!/bin/bash
# A small level (tests/sim/levels/won.txt) won end to end by won.script: the avatar gathers the
# loose garbage on its way, throws the bag walking into the container, and the level completes.
# dt = 1/32 s: the avatar walks 6.25 px per frame.
source "$(dirname "$0")/lib/objects.bash" "$1"

# Frames 1-18 walk right from x = 40 to 152.5; at x = 115 (frame 12) the garbage's centre
# (130, 390) is inside the avatar's box. Frame 21 picks the bag up (point (162.5, 390) in its
# box), frame 22 holds it at (152.5, 360), frame 23 steps right and throws it (300, -140).
# After 16 frames of flight (frame 38) the bag is at (302.5, 369.6875): its point
# (312.5, 384.6875) is in the mouth (282, 380)-(317, 390), the only frame of the flight in
# which it is. The avatar sees the full container in frame 39.
level win "$(cat tests/sim/levels/won.txt)"
mapfile -t script < tests/sim/levels/won.script
play win win 0.03125 "${script[@]}"
expect_count win 11 lg 1
expect_count win 12 lg 0
expect win 21 gb 1 "gb 152.5 365 2 0 0"
expect win 23 gb 1 "gb 161.875 356.2109375 1 300 -121.25"
expect win 37 gb 1 "gb 293.125 364.6875 1 300 141.25"
expect win 37 ct 1 "ct 280 380 1"
expect_count win 38 gb 0
expect win 38 ct 1 "ct 280 380 0"
expect win 38 av 1 "av 158.75 380 0 0 0 0 0"
expect win 39 av 1 "av 158.75 380 0 0 0 2 0"
expect_end win "frames=43" "status=2" 'reason=""' "elapsed=1.21875" "jumps=0" "throws=1" "pixels=118" \
  "garbage=1" "loose=1"

finish
