#!/bin/bash
# Levers flip once per arrival; press pads hold their channel while weighed down. The avatar
# walks 6.25 px per frame (dt = 1/32 s). Channel digits are the F line's ten states.
source "$(dirname "$0")/lib/objects.bash" "$1"
DT=0.03125

# Lever at (200, 380) on channel 1, off: its centre (210, 390) is inside the avatar's box for
# 191 < x <= 209. Walking right from 100: inside in frames 15-17 (193.75 to 206.25), one flip;
# out at 212.5; back left: inside again in frame 23 (206.25), one more flip, none while the
# avatar stands on it.
level lever <<TEXT
av 5 19
vr 10 19 1 off
$(floor 0 39)
TEXT
play lever lever $DT <<'SCRIPT'
20 R
5 L
2 -
SCRIPT
expect lever 1 vr 1 "vr 200 380 0"
expect_channels lever 1 1011111111
expect lever 14 vr 1 "vr 200 380 0"
expect lever 15 vr 1 "vr 200 380 1"
expect_channels lever 15 1111111111
expect lever 17 vr 1 "vr 200 380 1"
expect lever 22 vr 1 "vr 200 380 1"
expect lever 23 vr 1 "vr 200 380 0"
expect_channels lever 23 1011111111
expect lever 27 av 1 "av 193.75 380 0 0 0 0 0"
expect lever 27 vr 1 "vr 200 380 0"

# Press pad at (200, 380): a body at x presses it exactly when 185 <= x < 215. Walking right
# from 160: 178.75 (frame 3) no, 185 (frame 4) yes, 210 (frame 8) yes, 216.25 (frame 9) no.
# Resting value off: channel 2 is on only while pressed.
level pad_low <<TEXT
av 8 19
pr 10 19 2 off
$(floor 0 39)
TEXT
play pad_low pad_low $DT <<'SCRIPT'
10 R
SCRIPT
expect pad_low 3 pr 1 "pr 200 380 0"
expect_channels pad_low 3 1101111111
expect pad_low 4 pr 1 "pr 200 380 1"
expect_channels pad_low 4 1111111111
expect pad_low 8 pr 1 "pr 200 380 1"
expect pad_low 9 pr 1 "pr 200 380 0"
expect_channels pad_low 9 1101111111

# Walking left from 240: 215 (frame 4) does not press, 208.75 (frame 5) does. Resting value
# on: channel 3 goes off while pressed.
level pad_high <<TEXT
av 12 19
pr 10 19 3 on
$(floor 0 39)
TEXT
play pad_high pad_high $DT <<'SCRIPT'
5 L
SCRIPT
expect pad_high 4 av 1 "av 215 380 1 0 0 0 0"
expect pad_high 4 pr 1 "pr 200 380 0"
expect_channels pad_high 4 1111111111
expect pad_high 5 pr 1 "pr 200 380 1"
expect_channels pad_high 5 1110111111

finish
