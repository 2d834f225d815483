#include "editor/level_snapshot.h"

#include "entities/prototypes.h"
#include "world/tag.h"

namespace {

std::unique_ptr<Entity> copyOf(const Entity& entity) {
  const LevelKind* kind = kindOf(levelKinds(), entity);
  std::unique_ptr<Entity> copy = kind->make(kind->fields(entity));
  copy->setPosition(entity.x(), entity.y());
  return copy;
}

}  // namespace

LevelSnapshot::LevelSnapshot(World& world) {
  for (Entity* entity : world.byTag(tagOf("entt"))) entities.emplace_back(copyOf(*entity));
}

void LevelSnapshot::addCopiesTo(World& world) const {
  for (const auto& entity : entities) world.adopt(copyOf(*entity));
}
