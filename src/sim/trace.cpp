#include "sim/trace.h"

#include "entities/avatar.h"
#include "entities/prototypes.h"
#include "world/channel_states.h"
#include "world/level.h"
#include "world/play_context.h"
#include "world/world.h"

std::string frameLine(int frame, const ChannelStates& channels) {
  std::string line = format("F %d ", frame);
  for (unsigned char state : channels) line += format("%d", state);
  return line;
}

std::string traceLine(Entity& entity) {
  const LevelKind* kind = kindOf(levelKinds(), entity);
  if (!kind || !kind->trace) return "";
  std::string fields = kind->trace(entity);
  return format("%s %.17g %.17g", kind->code, entity.x(), entity.y()) + (fields.empty() ? "" : " " + fields);
}

std::string endLine(int frames, World& world, const PlayContext& context) {
  Outcome outcome;
  if (Avatar* avatar = world.first<Avatar>()) outcome = avatar->outcome();
  return format(
      "END frames=%d status=%d reason=\"%s\" elapsed=%.17g jumps=%d doublejumps=%d throws=%d pixels=%d garbage=%d "
      "loose=%d",
      frames, outcome.status, outcome.reason.c_str(), context.elapsedTime, static_cast<int>(context.jumps),
      static_cast<int>(context.doubleJumps), static_cast<int>(context.throws),
      static_cast<int>(context.pixelsTraversed), static_cast<int>(context.garbageCollected), context.grid->looseCount);
}
