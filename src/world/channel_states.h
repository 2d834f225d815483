#pragma once

#include <array>

// One on/off byte per switch channel 0 to 9 of a level: its levers and press pads write them,
// its tiles and its solid-tile query read them. 1 is on (tiles solid), 0 off.
constexpr int kChannelCount = 10;
using ChannelStates = std::array<unsigned char, kChannelCount>;

// Every level starts with all its channels on.
constexpr ChannelStates kAllChannelsOn = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
