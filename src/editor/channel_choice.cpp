#include "editor/channel_choice.h"

#include <memory>

#include "entities/lever.h"
#include "entities/press_pad.h"
#include "entities/tile.h"

namespace {

int shifted(int channel, int by) { return (channel + by) % ChannelChoice::kChannels; }

}  // namespace

Entity* ChannelChoice::create(const Entity& prototype) const {
  Entity* made = prototype.create();
  if (auto* tile = dynamic_cast<Tile*>(made)) tile->channel = shifted(tile->channel, chosen);
  if (auto* lever = dynamic_cast<Lever*>(made)) lever->channel = shifted(lever->channel, chosen);
  if (auto* pad = dynamic_cast<PressPad*>(made)) pad->channel = shifted(pad->channel, chosen);
  return made;
}

std::string ChannelChoice::label(const Entity& prototype) const {
  std::unique_ptr<Entity> example(create(prototype));
  return example->editorLabel();
}
