#pragma once

#include <string>

#include "app/result.h"
#include "world/level_record.h"
#include "world/world.h"

// Reads every record of the file into the world's pending additions (flush afterwards), each
// made by its kind. On a problem nothing is added and the message says what it is:
// "CANNOT OPEN '<path>'!!!", "UNMAPPABLE '<code>'!!!", or a malformed record with its byte offset;
// the problem names the file and, for a record at fault, its byte.
Result<> readLevel(const LevelKinds& kinds, const char* path, World& world);
// Writes the records of the world's "entt" list (entities of no kind are not level objects
// and are left out) through a temporary file renamed over the path, so a failed write never
// leaves a half-written level.
Result<> writeLevel(const LevelKinds& kinds, const char* path, World& world);
// The same for ready-made level bytes (the level text compiler).
Result<> writeLevelBytes(const char* path, const std::string& bytes);
