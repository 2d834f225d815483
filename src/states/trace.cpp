#include "states/trace.h"

#include "entities/avatar.h"
#include "entities/baddie.h"
#include "entities/bag.h"
#include "entities/container.h"
#include "entities/garbage.h"
#include "entities/lever.h"
#include "entities/press_pad.h"
#include "world/channel_states.h"
#include "world/level.h"
#include "world/play_context.h"
#include "world/world.h"

std::string frameLine(int frame) {
  std::string line = format("F %d ", frame);
  for (int channel = 0; channel < kChannelCount; ++channel) line += format("%d", channelStates[channel]);
  return line;
}

std::string traceLine(Entity& entity) {
  if (auto* avatar = dynamic_cast<Avatar*>(&entity)) {
    return format("av %.17g %.17g %d %.17g %.17g %d %d", avatar->x(), avatar->y(), avatar->state, avatar->vx,
                  avatar->vy, avatar->outcome().status, avatar->carried ? 1 : 0);
  }
  if (auto* bag = dynamic_cast<Bag*>(&entity)) {
    return format("gb %.17g %.17g %d %.17g %.17g", bag->x(), bag->y(), bag->carryState, bag->vx, bag->vy);
  }
  if (auto* baddie = dynamic_cast<Baddie*>(&entity)) {
    return format("bd %.17g %.17g %d %.17g %.17g %d", baddie->x(), baddie->y(), baddie->carryState, baddie->vx,
                  baddie->vy, baddie->walkingRight ? 1 : 0);
  }
  if (auto* garbage = dynamic_cast<Garbage*>(&entity)) return format("lg %.17g %.17g", garbage->x(), garbage->y());
  if (auto* container = dynamic_cast<Container*>(&entity)) {
    return format("ct %.17g %.17g %d", container->x(), container->y(), container->remaining);
  }
  if (auto* lever = dynamic_cast<Lever*>(&entity)) {
    return format("vr %.17g %.17g %d", lever->x(), lever->y(), lever->on ? 1 : 0);
  }
  if (auto* pad = dynamic_cast<PressPad*>(&entity)) {
    return format("pr %.17g %.17g %d", pad->x(), pad->y(), pad->pressed ? 1 : 0);
  }
  return "";
}

std::string endLine(int frames, World& world, const PlayContext& context) {
  Outcome outcome;
  if (auto* avatar = dynamic_cast<Avatar*>(world.first(tagOf("avat")))) outcome = avatar->outcome();
  return format(
      "END frames=%d status=%d reason=\"%s\" elapsed=%.17g jumps=%d doublejumps=%d throws=%d pixels=%d garbage=%d "
      "loose=%d",
      frames, outcome.status, outcome.reason.c_str(), context.elapsedTime, static_cast<int>(context.jumps),
      static_cast<int>(context.doubleJumps), static_cast<int>(context.throws),
      static_cast<int>(context.pixelsTraversed), static_cast<int>(context.garbageCollected), context.grid->looseCount);
}
