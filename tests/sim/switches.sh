#!/bin/bash
# A lever flips once per arrival, not again while the toucher stays. The avatar walks 6.25 px
# per frame (dt = 1/32 s). Channel digits are the F line's ten states.
source "$(dirname "$0")/lib/objects.bash" "$1"

# Lever at (200, 380) on channel 1, off: its centre (210, 390) is inside the avatar's box for
# 191 < x <= 209. Walking right from 100: inside in frames 15-17 (193.75 to 206.25), one flip;
# out at 212.5; back left: inside again in frame 23 (206.25), one more flip, none while the
# avatar stands on it.
level lever "av 5 19" "vr 10 19 1 off" "$(floor 0 39)"
play lever lever 0.03125 "20 R" "5 L" "2 -"
expect_channels lever 1 1011111111
expect lever 14 vr 1 "vr 200 380 0"
expect lever 15 vr 1 "vr 200 380 1"
expect_channels lever 15 1111111111
expect lever 16 vr 1 "vr 200 380 1"
expect lever 22 vr 1 "vr 200 380 1"
expect lever 23 vr 1 "vr 200 380 0"
expect_channels lever 23 1011111111
expect lever 24 vr 1 "vr 200 380 0"
expect lever 27 av 1 "av 193.75 380 0 0 0 0 0"
expect lever 27 vr 1 "vr 200 380 0"

finish
