#include "app/blend.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "app/atlas.h"
#include "app/held_text.h"

namespace {

struct BlendState {
  int source = ALLEGRO_ALPHA;
  int destination = ALLEGRO_INVERSE_ALPHA;
  ALLEGRO_COLOR colour = {1, 1, 1, 1};
};

// What the library has been told beyond its blender: whether bitmap drawing is held and the
// texture of the run it is collecting (null when none is open).
struct LibraryState {
  bool batched = true;
  bool holding = false;
  bool inFrame = false;  // between beginFrame and endFrame
  const void* texture = nullptr;
  long drawCalls = 0;
  HeldText text;
};

BlendState& state() {
  static BlendState blend;
  return blend;
}

LibraryState& library() {
  static LibraryState sent;
  return sent;
}

bool canDraw() { return al_get_current_display() || al_get_target_bitmap(); }

// The library's own blender is read back rather than remembered: tools and tests set it
// directly too.
bool factorsInForce() {
  int op, source, destination, alphaOp, alphaSource, alphaDestination;
  al_get_separate_blender(&op, &source, &destination, &alphaOp, &alphaSource, &alphaDestination);
  const BlendState& wanted = state();
  return op == ALLEGRO_ADD && alphaOp == ALLEGRO_ADD && source == wanted.source && alphaSource == wanted.source &&
         destination == wanted.destination && alphaDestination == wanted.destination;
}

// Raw drawing ends the hold for the rest of its run (see beginRawDrawing); the next drawing of
// the frame takes it up again.
void resumeHolding() {
  LibraryState& sent = library();
  if (!sent.inFrame || sent.holding) return;
  al_hold_bitmap_drawing(true);
  sent.holding = true;
}

// Batched, the factors wait for the next drawing; a change ends the run of held drawing first,
// since the library blends a whole run with the factors in force when it sends it.
void applyFactors() {
  resumeHolding();
  if (factorsInForce()) return;
  flushDrawing();
  al_set_blender(ALLEGRO_ADD, state().source, state().destination);
}

// One more draw call whenever the texture of the held run changes; unbatched, every drawing.
void countTexture(const void* texture) {
  LibraryState& sent = library();
  if (sent.batched && sent.texture == texture) return;
  sent.texture = texture;
  ++sent.drawCalls;
}

void drawHeldText() {
  for (const HeldText::Line& line : library().text.take()) {
    countTexture(line.font);
    al_draw_text(line.font, line.colour, line.x, line.y, line.flags, line.text.c_str());
  }
}

// A drawing from the atlas over held text draws the text first.
void beforeAtlasDrawing(float x1, float y1, float x2, float y2) {
  if (library().text.overlaps(x1, y1, x2, y2)) drawHeldText();
}

// A drawing of the library's primitives addon is a draw call of its own: the held run is sent
// first, then the factors the primitive needs are set.
void startPrimitive() {
  applyFactors();
  flushDrawing();
  ++library().drawCalls;
}

const void* textureOf(ALLEGRO_BITMAP* bitmap) {
  ALLEGRO_BITMAP* parent = al_get_parent_bitmap(bitmap);
  return parent ? parent : bitmap;
}

// Whether every pixel of the bitmap is opaque; read once per bitmap, outside any held run.
bool isOpaque(ALLEGRO_BITMAP* bitmap) {
  static std::map<ALLEGRO_BITMAP*, bool> known;
  auto found = known.find(bitmap);
  if (found != known.end()) return found->second;
  flushDrawing();
  bool opaque = true;
  int width = al_get_bitmap_width(bitmap);
  int height = al_get_bitmap_height(bitmap);
  al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READONLY);
  for (int y = 0; y < height && opaque; ++y) {
    for (int x = 0; x < width && opaque; ++x) {
      unsigned char r, g, b, a;
      al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
      opaque = a == 255;
    }
  }
  al_unlock_bitmap(bitmap);
  known[bitmap] = opaque;
  return opaque;
}

ALLEGRO_COLOR tinted(ALLEGRO_COLOR colour) {
  const ALLEGRO_COLOR& tint = state().colour;
  return ALLEGRO_COLOR{colour.r * tint.r, colour.g * tint.g, colour.b * tint.b, colour.a * tint.a};
}

// The white texel stretched over the rectangle, in the run of the atlas. Null when there is no
// atlas to take it from (unbatched, or no display).
ALLEGRO_BITMAP* whiteTexel() { return library().batched ? atlasWhiteTexel() : nullptr; }

void drawTexelRectangle(ALLEGRO_BITMAP* texel, float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour) {
  applyFactors();
  countTexture(textureOf(texel));
  beforeAtlasDrawing(x1, y1, x2, y2);
  float left = std::min(x1, x2);
  float top = std::min(y1, y2);
  al_draw_tinted_scaled_bitmap(texel, tinted(colour), 0, 0, 1, 1, left, top, std::fabs(x2 - x1), std::fabs(y2 - y1), 0);
}

void appendQuad(std::vector<ALLEGRO_VERTEX>& vertices, const ColouredRectangle& box) {
  ALLEGRO_COLOR colour = tinted(box.colour);
  const float corners[6][2] = {{box.x1, box.y1}, {box.x2, box.y1}, {box.x2, box.y2},
                               {box.x1, box.y1}, {box.x2, box.y2}, {box.x1, box.y2}};
  for (const auto& corner : corners) vertices.push_back(ALLEGRO_VERTEX{corner[0], corner[1], 0, 0, 0, colour});
}

// The library's filled ellipse is a fan around the centre through points of its arc, as many
// as ALLEGRO_PRIM_QUALITY times the square root of the mean radius (at scale one), at most one
// fewer than its vertex cache holds; below two points it draws nothing. The fan's triangles are
// appended as a list.
void appendEllipse(std::vector<ALLEGRO_VERTEX>& vertices, const ColouredEllipse& ellipse) {
  constexpr int kLibraryVertexCache = 256;
  auto points = static_cast<int>(ALLEGRO_PRIM_QUALITY * std::sqrt((ellipse.rx + ellipse.ry) / 2.0f));
  if (points < 2) return;
  points = std::min(points, kLibraryVertexCache - 1);
  std::vector<float> arc(2 * static_cast<size_t>(points));
  al_calculate_arc(arc.data(), 2 * sizeof(float), ellipse.cx, ellipse.cy, ellipse.rx, ellipse.ry, 0, ALLEGRO_PI * 2, 0,
                   points);
  ALLEGRO_COLOR colour = tinted(ellipse.colour);
  for (int i = 0; i + 1 < points; ++i) {
    vertices.push_back(ALLEGRO_VERTEX{ellipse.cx, ellipse.cy, 0, 0, 0, colour});
    vertices.push_back(ALLEGRO_VERTEX{arc[2 * i], arc[2 * i + 1], 0, 0, 0, colour});
    vertices.push_back(ALLEGRO_VERTEX{arc[2 * i + 2], arc[2 * i + 3], 0, 0, 0, colour});
  }
}

}  // namespace

void setBlender(int sourceFactor, int destinationFactor, ALLEGRO_COLOR colour) {
  state().source = sourceFactor;
  state().destination = destinationFactor;
  state().colour = colour;
  if (!library().batched && canDraw()) al_set_blender(ALLEGRO_ADD, sourceFactor, destinationFactor);
}

void setBlendColour(ALLEGRO_COLOR colour) { setBlender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, colour); }

void resetBlender() { setBlender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, al_map_rgba(255, 255, 255, 255)); }

ALLEGRO_COLOR blendColour() { return state().colour; }

// The white texel comes from the atlas, which needs the display: it is made before holding starts.
void beginFrame() {
  LibraryState& sent = library();
  sent.texture = nullptr;
  if (!sent.batched) return;
  atlasWhiteTexel();
  sent.inFrame = true;
  al_hold_bitmap_drawing(true);
  sent.holding = true;
}

void endFrame() {
  drawHeldText();
  LibraryState& sent = library();
  if (sent.holding) al_hold_bitmap_drawing(false);
  sent.holding = false;
  sent.inFrame = false;
  sent.texture = nullptr;
}

void flushDrawing() {
  drawHeldText();
  LibraryState& sent = library();
  sent.texture = nullptr;
  if (!sent.holding) return;
  al_hold_bitmap_drawing(false);
  al_hold_bitmap_drawing(true);
}

// Raw GL blends with whatever the library last sent; the library sends its blender again at
// its next drawing. It also draws through the hardware transform, which the library keeps at
// identity while it holds bitmap drawing (it transforms held vertices itself), so the hold
// ends here: a scaled window's picture would otherwise lose its sky to the corner.
void beginRawDrawing() {
  startPrimitive();
  LibraryState& sent = library();
  if (sent.holding) al_hold_bitmap_drawing(false);
  sent.holding = false;
}

void useTransform(const ALLEGRO_TRANSFORM& transform) {
  flushDrawing();
  al_use_transform(&transform);
}

bool drawingsMayBeRegrouped() {
  const ALLEGRO_TRANSFORM* transform = al_get_current_transform();
  return library().batched && transform && transform->m[0][0] == 1 && transform->m[1][1] == 1 &&
         transform->m[1][0] == 0 && transform->m[0][1] == 0;
}

void setBatchedDrawing(bool batched) { library().batched = batched; }

bool batchedDrawing() { return library().batched; }

long drawCallCount() { return library().drawCalls; }

void resetDrawCallCount() { library().drawCalls = 0; }

void drawBitmap(ALLEGRO_BITMAP* bitmap, float x, float y, int flags) {
  applyFactors();
  beforeAtlasDrawing(x, y, x + al_get_bitmap_width(bitmap), y + al_get_bitmap_height(bitmap));
  countTexture(textureOf(bitmap));
  al_draw_tinted_bitmap(bitmap, state().colour, x, y, flags);
}

void drawScaledBitmap(ALLEGRO_BITMAP* bitmap, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                      float dh, int flags) {
  applyFactors();
  beforeAtlasDrawing(dx, dy, dx + dw, dy + dh);
  countTexture(textureOf(bitmap));
  al_draw_tinted_scaled_bitmap(bitmap, state().colour, sx, sy, sw, sh, dx, dy, dw, dh, flags);
}

// An opaque bitmap replaces the target under the default factors too, so it stays in the run.
void drawReplacingBitmap(ALLEGRO_BITMAP* bitmap, float x, float y) {
  BlendState before = state();
  if (library().batched && isOpaque(bitmap)) {
    resetBlender();
  } else {
    setBlender(ALLEGRO_ONE, ALLEGRO_ZERO, al_map_rgb(255, 255, 255));
  }
  drawBitmap(bitmap, x, y, 0);
  setBlender(before.source, before.destination, before.colour);
}

void drawFilledRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour) {
  ColouredRectangle box{x1, y1, x2, y2, colour};
  drawFilledRectangles(&box, 1);
}

void drawFilledRectangles(const ColouredRectangle* rectangles, int count) {
  if (ALLEGRO_BITMAP* texel = whiteTexel()) {
    for (int i = 0; i < count; ++i) {
      const ColouredRectangle& box = rectangles[i];
      drawTexelRectangle(texel, box.x1, box.y1, box.x2, box.y2, box.colour);
    }
    return;
  }
  std::vector<ALLEGRO_VERTEX> vertices;
  for (int i = 0; i < count; ++i) appendQuad(vertices, rectangles[i]);
  if (vertices.empty()) return;
  startPrimitive();
  al_draw_prim(vertices.data(), nullptr, nullptr, 0, static_cast<int>(vertices.size()), ALLEGRO_PRIM_TRIANGLE_LIST);
}

// The library's outline is a strip of mitred quads along the edges; four rectangles cover the
// same pixels without overlapping, so translucent outlines blend each pixel once as before.
void drawRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness) {
  if (!whiteTexel() || thickness <= 0) {
    startPrimitive();
    al_draw_rectangle(x1, y1, x2, y2, tinted(colour), thickness);
    return;
  }
  float half = thickness / 2;
  const ColouredRectangle sides[] = {{x1 - half, y1 - half, x2 + half, y1 + half, colour},
                                     {x1 - half, y2 - half, x2 + half, y2 + half, colour},
                                     {x1 - half, y1 + half, x1 + half, y2 - half, colour},
                                     {x2 - half, y1 + half, x2 + half, y2 - half, colour}};
  drawFilledRectangles(sides, 4);
}

// A line along an axis is a rectangle thickness wide centred on it, which is what the library
// draws for it.
void drawLine(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness) {
  bool alongAxis = x1 == x2 || y1 == y2;
  if (!whiteTexel() || thickness <= 0 || !alongAxis) {
    startPrimitive();
    al_draw_line(x1, y1, x2, y2, tinted(colour), thickness);
    return;
  }
  float half = thickness / 2;
  if (x1 == x2) {
    drawFilledRectangle(x1 - half, y1, x1 + half, y2, colour);
  } else {
    drawFilledRectangle(x1, y1 - half, x2, y1 + half, colour);
  }
}

void drawFilledEllipse(float cx, float cy, float rx, float ry, ALLEGRO_COLOR colour) {
  startPrimitive();
  al_draw_filled_ellipse(cx, cy, rx, ry, tinted(colour));
}

void drawFilledEllipses(const ColouredEllipse* ellipses, int count) {
  std::vector<ALLEGRO_VERTEX> vertices;
  for (int i = 0; i < count; ++i) appendEllipse(vertices, ellipses[i]);
  if (vertices.empty()) return;
  startPrimitive();
  al_draw_prim(vertices.data(), nullptr, nullptr, 0, static_cast<int>(vertices.size()), ALLEGRO_PRIM_TRIANGLE_LIST);
}

// A one-pixel point lands on the pixel its coordinates truncate to.
void drawPixel(float x, float y, ALLEGRO_COLOR colour) {
  if (whiteTexel()) {
    float left = std::floor(x);
    float top = std::floor(y);
    drawFilledRectangle(left, top, left + 1, top + 1, colour);
    return;
  }
  startPrimitive();
  al_draw_pixel(x, y, tinted(colour));
}

void drawText(ALLEGRO_FONT* font, float x, float y, int flags, const std::string& text) {
  applyFactors();
  LibraryState& sent = library();
  if (sent.holding && sent.texture != font) {
    sent.text.hold(HeldText::Line{font, state().colour, x, y, flags, text});
    return;
  }
  countTexture(font);
  al_draw_text(font, state().colour, x, y, flags, text.c_str());
}
