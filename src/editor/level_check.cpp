#include "editor/level_check.h"

#include <cmath>

#include "entities/avatar.h"
#include "entities/bag.h"
#include "entities/container.h"
#include "entities/prototypes.h"
#include "world/tag.h"

namespace {

constexpr double kCellSize = 20.0;  // px
constexpr int kColumns = 40;
constexpr int kRows = 30;

void checkAvatars(World& world, std::vector<std::string>& problems) {
  int avatars = static_cast<int>(world.all<Avatar>().size());
  if (avatars == 0) problems.push_back("no avatar");
  // Every avatar adds its frame time to the level timer, so two of them race the clock.
  if (avatars > 1)
    problems.push_back(format("%d avatars (the level timer would run %d times as fast)", avatars, avatars));
}

// Only bags fill containers: a baddie thrown into a bin is not taken, so baddies never count.
void checkBags(World& world, std::vector<std::string>& problems) {
  int wanted = 0;
  for (const Container& container : world.all<Container>()) wanted += container.remaining;
  int bags = static_cast<int>(world.all<Bag>().size());
  if (world.all<Container>().empty()) problems.push_back("no container, so the level can never be completed");
  if (wanted > bags) problems.push_back(format("the containers want %d bags but the level holds %d", wanted, bags));
}

void checkOutside(World& world, std::vector<std::string>& problems) {
  for (Entity* entity : world.byTag(tagOf("entt"))) {
    int column = static_cast<int>(std::floor(entity->x() / kCellSize));
    int row = static_cast<int>(std::floor(entity->y() / kCellSize));
    if (column >= 0 && column < kColumns && row >= 0 && row < kRows) continue;
    const LevelKind* kind = kindOf(levelKinds(), *entity);
    bool loose = kind && std::string(kind->code) == "lg";
    problems.push_back(format("%s at column %d, row %d lies outside the 40 x 30 screen%s", editorLabel(*entity).c_str(),
                              column, row, loose ? " (no golden crown)" : ""));
  }
}

}  // namespace

std::vector<std::string> levelProblems(World& world) {
  std::vector<std::string> problems;
  checkAvatars(world, problems);
  checkBags(world, problems);
  checkOutside(world, problems);
  return problems;
}
