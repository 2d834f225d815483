#include "entities/prototypes.h"

#include "entities/avatar.h"
#include "entities/baddie.h"
#include "entities/bag.h"
#include "entities/container.h"
#include "entities/fireworks.h"
#include "entities/force_field.h"
#include "entities/garbage.h"
#include "entities/lever.h"
#include "entities/message.h"
#include "entities/press_pad.h"
#include "entities/spikes.h"
#include "entities/tile.h"

// One line per kind, in the order of the table.
Prototypes::Prototypes() {
  map_["tl"] = new Tile(0, nullptr, 0, 0);
  map_["ct"] = new Container(0, 0, 1);
  map_["gb"] = new Bag();
  map_["av"] = new Avatar();
  map_["ms"] = new Message("");
  map_["lg"] = new Garbage();
  map_["vr"] = new Lever(0, false);
  map_["sp"] = new Spikes();
  map_["ff"] = new ForceField(true);
  map_["pr"] = new PressPad(0, false);
  map_["bd"] = new Baddie(false);
  map_["fw"] = new Fireworks();
}

Prototypes::~Prototypes() {
  for (const auto& entry : map_) delete entry.second;
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
