#pragma once

#include <string>

#include "world/level_file.h"
#include "world/level_record.h"

// The table of level object kinds, one row per kind, in the order of the editor's palette:
// its record layout and grid symbols, how a record makes an entity and an entity gives back
// its record, its editor labels and palette choices, and its trace fields. A new kind of level
// object is its class and one row here.
const LevelKinds& levelKinds();

// The editor's label of a level object ("lever(2,on)"); empty for an entity of no kind.
std::string editorLabel(const Entity& entity);

// The level file functions with this table.
Result<> readLevel(const char* path, World& world);
Result<> writeLevel(const char* path, World& world);
// Reading where a failure cannot be returned (a play state's construction): it goes to the
// program's load-failure handler and the world stays empty.
void loadLevel(const char* path, World& world);
