#pragma once

#include <string>
#include <vector>

#include "canvas.h"

// Frames placed on a pitch of frame size + 1 with one-pixel magenta lines after every
// column and row, numbered down each column then across, as the game's Sheet cuts them.
// The trailing lines make even a single row or column carry its frame size.
Canvas assembleSheet(const std::vector<Canvas>& frames, int rows);

// Writes the canvas as a PNG through Allegro's image add-on; false when saving fails.
bool savePng(const Canvas& canvas, const std::string& path);
