#pragma once

#include <string>

#include "app/load_result.h"
#include "world/level_record.h"
#include "world/world.h"

// The outcome of reading or writing a level file: ok, or the kind of failure, the path and the
// one line that says what is wrong (which file and, for a malformed file, the byte offset of the
// bad record).
using LevelFileResult = LoadResult;

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
