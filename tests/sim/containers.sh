#!/bin/bash
# Containers take free bags whose point (x + 10, y + 15) enters the mouth (x + 2, y) to
# (x + 37, y + 10), never carried ones; the level completes when every container is full.
# dt = 1/32 s: a falling bag is at y0 + 0.29296875 n(n+1) after n frames.
source "$(dirname "$0")/lib/objects.bash" "$1"
DT=0.03125

# The container stands in the avatar's cell: mouth (202, 380) to (237, 390). Crouching, the
# avatar holds the bag at y = 365, so the bag's point (210, 380) is in the mouth, but a carried
# bag is not taken. Put down in frame 6, it is free there and goes in at once.
level mouth "av 10 19" "gb 10 19" "ct 10 19 2" "$(floor 0 39)"
play mouth mouth $DT "1 D" "1 DX" "3 D" "1 DX" "1 D"
expect mouth 5 ct 1 "ct 200 380 2"
expect mouth 5 gb 1 "gb 200 365 2 0 0"
expect mouth 6 ct 1 "ct 200 380 1"
expect_count mouth 6 gb 0
expect mouth 6 av 1 "av 200 380 3 0 0 0 0"
expect_end mouth "status=0" "throws=0"

# Two bags fall together from y = 300 into a container that wants one: after frame 15 both
# are at 370.3125 (point y 385.3125, in the mouth). The first is taken; the second falls on
# and lands in frame 18 (389.6484375 after frame 17). The avatar, updated before the
# container, completes the level in frame 16.
level two "av 2 19" "gb 10 15" "gb 10 15" "ct 10 19 1" "$(floor 0 39)"
play two two $DT "20 -"
expect two 14 ct 1 "ct 200 380 1"
expect_count two 14 gb 2
expect two 15 ct 1 "ct 200 380 0"
expect two 15 gb 1 "gb 200 370.3125 1 0 281.25"
expect two 15 av 1 "av 40 380 0 0 0 0 0"
expect two 16 av 1 "av 40 380 0 0 0 2 0"
expect two 18 gb 1 "gb 200 380 0 0 318.75"
expect_end two "status=2" 'reason=""'

finish
