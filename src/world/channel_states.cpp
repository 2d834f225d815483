#include "world/channel_states.h"

unsigned char channelStates[kChannelCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

void setAllChannelsOn() {
  for (unsigned char& state : channelStates) state = 1;
}
