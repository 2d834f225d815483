#pragma once

// One on/off byte per switch channel 0 to 9: levers and press pads write them, tiles and the
// solid-tile query read them. 1 is on (tiles solid), 0 off.
constexpr int kChannelCount = 10;
extern unsigned char channelStates[kChannelCount];

// Sets all ten channels on (a new play state, the end of a test play or of a run of levels).
void setAllChannelsOn();
