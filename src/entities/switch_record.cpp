#include "entities/switch_record.h"

#include "world/channel_states.h"
#include "world/world.h"

void writeSwitchRecord(FILE* file, int channel, bool flag) {
  std::fputc(channel & 0xFF, file);
  std::fputc(flag ? 1 : 0, file);
}

void readSwitchRecord(FILE* file, int& channel, bool& flag) {
  channel = std::fgetc(file);
  flag = std::fgetc(file) != 0;
}

std::string channelProblem(int channel) {
  if (channel >= 0 && channel < kChannelCount) return "";
  return format("channel %d outside 0 to %d", channel, kChannelCount - 1);
}
