#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>

// The game's drawing model: one global blend state of (source factor, destination factor,
// blend colour). The blend colour multiplies every bitmap, primitive and text drawn through
// the functions below while it is set, and text takes its colour from it. Anything that
// changes the state restores the default (source alpha, inverse source alpha, opaque white)
// before it returns. Factors are the library's ALLEGRO_ALPHA, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA.
void setBlender(int sourceFactor, int destinationFactor, ALLEGRO_COLOR colour);
void setBlendColour(ALLEGRO_COLOR colour);  // keeps the factors, alpha / inverse alpha
void resetBlender();
ALLEGRO_COLOR blendColour();

void drawBitmap(ALLEGRO_BITMAP* bitmap, float x, float y, int flags);
void drawScaledBitmap(ALLEGRO_BITMAP* bitmap, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                      float dh, int flags);
void drawFilledRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour);
void drawRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness);
void drawLine(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness);
void drawFilledEllipse(float cx, float cy, float rx, float ry, ALLEGRO_COLOR colour);
void drawPixel(float x, float y, ALLEGRO_COLOR colour);
// Text in the blend colour; flags are the library's alignment flags (0 left, 1 centre, 2 right).
void drawText(ALLEGRO_FONT* font, float x, float y, int flags, const std::string& text);
