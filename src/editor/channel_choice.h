#pragma once

#include "world/entity.h"

// The switch channel chosen with the number keys. It is the channel of the tile entry and of
// the first lever and press-pad pairs of the palette; the following pairs take the next
// channels, wrapping after 9. With channel 0 the palette is exactly the prototypes' own.
class ChannelChoice {
 public:
  static constexpr int kChannels = 10;

  void choose(int channel) { chosen = channel; }
  int channel() const { return chosen; }

  // A new entity like the prototype, on the chosen channel when it has one.
  Entity* create(const Entity& prototype) const;
  std::string label(const Entity& prototype) const;

 private:
  int chosen = 0;
};
