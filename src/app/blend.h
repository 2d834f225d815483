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

// Batching. A software OpenGL pays a fixed price per draw call, so a frame is drawn as a few
// long runs: bitmaps, text and filled rectangles are held by the library and sent together
// while they share a texture (images come from one atlas, rectangles are a tinted white texel),
// and the blend factors reach the library only just before the next drawing that needs other
// factors. Anything that draws past this layer (raw GL) or reads the target calls
// beginRawDrawing or flushDrawing first.
void beginFrame();
void endFrame();
void flushDrawing();
void beginRawDrawing();  // a flush with the factors in force, counted as one draw call
void useTransform(const ALLEGRO_TRANSFORM& transform);
// Whether drawings may be regrouped to save draw calls: only when batched (the old way stays the
// old way for comparison) and while the transform only shifts the picture. Under a tilt or a
// scale the library composes each drawing's own transform, so the corners of neighbouring quads
// may land a rounding step apart, and it draws an ellipse in more or fewer segments.
bool drawingsMayBeRegrouped();

// Off: every drawing goes to the library at once as its own draw call, with images in their
// own textures. Kept for the pixel comparison and the benchmark; it must be chosen before the
// first image is loaded.
void setBatchedDrawing(bool batched);
bool batchedDrawing();

// Draw calls sent to the library since the last reset, as this layer can tell them apart.
long drawCallCount();
void resetDrawCallCount();

void drawBitmap(ALLEGRO_BITMAP* bitmap, float x, float y, int flags);
void drawScaledBitmap(ALLEGRO_BITMAP* bitmap, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                      float dh, int flags);
// The bitmap's pixels replace the target's, alpha included, whatever the blend state.
void drawReplacingBitmap(ALLEGRO_BITMAP* bitmap, float x, float y);
void drawFilledRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour);
// Several filled rectangles in one drawing, each in its own colour (tinted like the others).
struct ColouredRectangle {
  float x1, y1, x2, y2;
  ALLEGRO_COLOR colour;
};
void drawFilledRectangles(const ColouredRectangle* rectangles, int count);
void drawRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness);
void drawLine(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness);
void drawFilledEllipse(float cx, float cy, float rx, float ry, ALLEGRO_COLOR colour);
// Several filled ellipses in one draw call, each in its own colour (tinted like the others),
// in the very triangles the library draws one in while the transform only shifts.
struct ColouredEllipse {
  float cx, cy, rx, ry;
  ALLEGRO_COLOR colour;
};
void drawFilledEllipses(const ColouredEllipse* ellipses, int count);
void drawPixel(float x, float y, ALLEGRO_COLOR colour);
// Text in the blend colour; flags are the library's alignment flags (0 left, 1 centre, 2 right).
void drawText(ALLEGRO_FONT* font, float x, float y, int flags, const std::string& text);
