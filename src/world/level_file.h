#pragma once

#include <string>

#include "world/level_record.h"
#include "world/world.h"

// The outcome of reading or writing a level file: ok, or the one line that says what is wrong
// (which file and, for a malformed file, the byte offset of the bad record).
struct LevelFileResult {
  bool ok = true;
  std::string message;
};

// Reads every record of the file into the world's pending additions (flush afterwards), each
// made by its kind. On a problem nothing is added and the message says what it is:
// "CANNOT OPEN '<path>'!!!", "UNMAPPABLE '<code>'!!!", or a malformed record with its byte offset.
LevelFileResult readLevel(const LevelKinds& kinds, const char* path, World& world);
// Writes the records of the world's "entt" list (entities of no kind are not level objects
// and are left out) through a temporary file renamed over the path, so a failed write never
// leaves a half-written level.
LevelFileResult writeLevel(const LevelKinds& kinds, const char* path, World& world);
// The same for ready-made level bytes (the level text compiler).
LevelFileResult writeLevelBytes(const char* path, const std::string& bytes);

// The game's forms: print the message and exit with status 1 on any problem.
void loadLevel(const LevelKinds& kinds, const char* path, World& world);
void saveLevel(const LevelKinds& kinds, const char* path, World& world);
