#include "editor/level_snapshot.h"

#include "world/tag.h"

namespace {

Entity* copyOf(const Entity& entity) {
  Entity* copy = entity.create();
  copy->setPosition(entity.x(), entity.y());
  return copy;
}

}  // namespace

LevelSnapshot::LevelSnapshot(World& world) {
  for (Entity* entity : world.byTag(tagOf("entt"))) entities.emplace_back(copyOf(*entity));
}

void LevelSnapshot::addCopiesTo(World& world) const {
  for (const auto& entity : entities) world.add(copyOf(*entity));
}
