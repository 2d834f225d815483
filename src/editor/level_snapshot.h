#pragma once

#include <memory>
#include <vector>

#include "world/world.h"

// A copy of every entity of a level, made through its kind's record, so that an
// edit can be taken back without touching the disk. Editor entities never update, so an
// entity is its construction parameters and its position.
class LevelSnapshot {
 public:
  explicit LevelSnapshot(World& world);

  // Adds fresh copies of the captured entities to the world, in the captured order (the
  // caller has emptied the world and flushes it afterwards).
  void addCopiesTo(World& world) const;

 private:
  std::vector<std::unique_ptr<Entity>> entities;
};
