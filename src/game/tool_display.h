#pragma once

#include "app/result.h"

struct ALLEGRO_DISPLAY;

// For the tools that draw the game to look at its pictures: starts the library and opens a
// windowed OpenGL display of the game's size, with the game's blender. A failure's message is
// the line such a tool prints: "cannot start the library: …", or "cannot open a display (run
// under scripts/headless)".
Result<ALLEGRO_DISPLAY*> openToolDisplay();
