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

// Convenience: read a level file with a fresh prototype table.
LevelFileResult readLevel(const char* path, World& world);
// The same where a failure cannot be returned (a play state's construction): it goes to the
// program's load-failure handler and the world stays empty.
void loadLevel(const char* path, World& world);
