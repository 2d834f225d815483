#pragma once

#include <string>

#include "world/level_record.h"

// The readable form of a level file (docs/level-text.md): the 40 x 30 grid drawn with one
// character per object, and one line per record for objects with parameters or out of grid
// order. It reads only the record layouts and grid symbols of the kinds it is given.

// Level file bytes to text; a problem names its byte. Compiling the text gives back exactly the
// same bytes.
Result<std::string> dumpLevelText(const std::string& levelBytes, const LevelKinds& kinds);
// Text to level file bytes; a problem names its line.
Result<std::string> compileLevelText(const std::string& text, const LevelKinds& kinds);
