#pragma once

#include <allegro5/allegro_font.h>

#include <string>

#include "world/box.h"

// Text over the live scene sits on a dark translucent band, so that it stays readable whatever
// the scene draws behind it, in every theme: over the brightest white the band leaves at most
// 95 of 255, against which white text keeps a contrast above 6:1 and yellow text above 5.5:1
// (4.5:1 is the least allowed). The band reaches a few pixels beyond the text on every side.

// The band behind a line of text drawn at (x, y) (its top) with the alignment given.
Box textBacking(ALLEGRO_FONT* font, double x, double y, int alignment, const std::string& text);
// The smallest box holding both.
Box boxAround(const Box& a, const Box& b);
void drawBacking(const Box& band);
