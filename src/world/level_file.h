#pragma once

#include <map>
#include <string>

#include "app/load_result.h"
#include "world/world.h"

// Two-letter type code to a prototype entity whose create() makes the entity of a record.
using PrototypeMap = std::map<std::string, Entity*>;

// The outcome of reading or writing a level file: ok, or the path and the one line that says
// what is wrong (which file and, for a malformed file, the byte offset of the bad record).
using LevelFileResult = LoadResult;

// Reads every record of the file into the world's pending additions (flush afterwards). On a
// problem nothing is added and the message says what it is: "CANNOT OPEN '<path>'!!!",
// "UNMAPPABLE '<code>'!!!", or a malformed record with its byte offset.
LevelFileResult readLevel(const PrototypeMap& prototypes, const char* path, World& world);
// Writes the world's "entt" list through a temporary file renamed over the path, so a failed
// write never leaves a half-written level.
LevelFileResult writeLevel(const char* path, World& world);
// The same for ready-made level bytes (the level text compiler).
LevelFileResult writeLevelBytes(const char* path, const std::string& bytes);
