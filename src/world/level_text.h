#pragma once

#include <string>

// The readable form of a level file (docs/level-text.md): the 40 x 30 grid drawn with one
// character per object, and one line per record for objects with parameters or out of grid
// order. It works on record layouts, not on entity classes, so it serves every kind of level
// object whether or not its class is built into the program using it.
struct LevelTextResult {
  bool ok = true;
  std::string output;   // the text (dump) or the level bytes (compile)
  std::string message;  // what is wrong, with the byte offset or the line number
};

// Level file bytes to text. Compiling the text gives back exactly the same bytes.
LevelTextResult dumpLevelText(const std::string& levelBytes);
// Text to level file bytes.
LevelTextResult compileLevelText(const std::string& text);

// Bytes as text with every byte that is not printable ASCII shown as \xNN (for messages that
// quote a file's content, such as an unknown type code).
std::string printableBytes(const std::string& bytes);
