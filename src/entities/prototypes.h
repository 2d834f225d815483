#pragma once

#include "world/level_file.h"

// The prototype table of the level loader: one prototype per kind of level object, in the
// order tl ct gb av ms lg vr sp ff pr bd fw. Built for each load, destroyed right after.
class Prototypes {
 public:
  Prototypes();
  ~Prototypes();
  Prototypes(const Prototypes&) = delete;
  Prototypes& operator=(const Prototypes&) = delete;

  const PrototypeMap& map() const { return map_; }

 private:
  PrototypeMap map_;
};

// Convenience: load a level file with a fresh prototype table.
void loadLevel(const char* path, World& world);
LevelFileResult readLevel(const char* path, World& world);
