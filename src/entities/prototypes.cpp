#include "entities/prototypes.h"

#include "entities/tile.h"

// One line per kind, in the order of the table.
Prototypes::Prototypes() {
  map_["tl"] = new Tile(0, nullptr, 0, 0);
}

Prototypes::~Prototypes() {
  for (auto& entry : map_) delete entry.second;
  map_.clear();
}

void loadLevel(const char* path, World& world) {
  Prototypes prototypes;
  loadLevel(prototypes.map(), path, world);
}

LevelFileResult readLevel(const char* path, World& world) {
  Prototypes prototypes;
  return readLevel(prototypes.map(), path, world);
}
