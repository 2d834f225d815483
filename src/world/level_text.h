#pragma once

#include <string>

#include "world/level_record.h"

// The readable form of a level file (docs/level-text.md): the 40 x 30 grid drawn with one
// character per object, and one line per record for objects with parameters or out of grid
// order. It reads only the record layouts and grid symbols of the kinds it is given.
struct LevelTextResult {
  bool ok = true;
  std::string output;   // the text (dump) or the level bytes (compile)
  std::string message;  // what is wrong, with the byte offset or the line number
};

// Level file bytes to text. Compiling the text gives back exactly the same bytes.
LevelTextResult dumpLevelText(const std::string& levelBytes, const LevelKinds& kinds);
// Text to level file bytes.
LevelTextResult compileLevelText(const std::string& text, const LevelKinds& kinds);
