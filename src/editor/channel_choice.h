#pragma once

#include "world/channel_states.h"
#include "world/level_record.h"

// The switch channel chosen with the number keys. It is the channel of the tile entry and of
// the first lever and press-pad pairs of the palette; the following pairs take the next
// channels, wrapping after 9. With channel 0 the palette is exactly the table's own.
class ChannelChoice {
 public:
  void choose(int channel) { chosen = channel; }
  int channel() const { return chosen; }

  // A palette entry's record moved on by the chosen channel, for kinds that have one.
  RecordFields fieldsFor(const LevelKind& kind, RecordFields fields) const;

 private:
  int chosen = 0;
};
