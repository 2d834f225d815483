#pragma once

#include <vector>

#include "canvas.h"

// Frames of each sprite sheet, in the game's frame order.
std::vector<Canvas> guyFrames();        // 17 frames, 20 x 20, facing left
std::vector<Canvas> baddieFrames();     // tame walk 0-1, feral walk 2-3
std::vector<Canvas> tileFrames();       // walls 0-4, spikes, sign, levers, press pads
std::vector<Canvas> containerFrames();  // waiting bin, full bin; 40 x 28
std::vector<Canvas> looseFrames();      // three pieces of loose garbage
std::vector<Canvas> completeFrames();   // completed mark, golden crown, silver crown

// Single images.
Canvas bagImage();
Canvas cloudImage();
Canvas logoImage();
Canvas puffImage();
Canvas glowImage();

// The program's icon, square, at the given size in pixels.
Canvas iconImage(int size);
