#include "app/blend.h"

#include <allegro5/allegro_primitives.h>

namespace {

struct BlendState {
  int source = ALLEGRO_ALPHA;
  int destination = ALLEGRO_INVERSE_ALPHA;
  ALLEGRO_COLOR colour = {1, 1, 1, 1};
};

BlendState& state() {
  static BlendState blend;
  return blend;
}

void applyBlender() {
  if (al_get_current_display() || al_get_target_bitmap()) {
    al_set_blender(ALLEGRO_ADD, state().source, state().destination);
  }
}

ALLEGRO_COLOR tinted(ALLEGRO_COLOR colour) {
  const ALLEGRO_COLOR& tint = state().colour;
  return ALLEGRO_COLOR{colour.r * tint.r, colour.g * tint.g, colour.b * tint.b, colour.a * tint.a};
}

}  // namespace

void setBlender(int sourceFactor, int destinationFactor, ALLEGRO_COLOR colour) {
  state().source = sourceFactor;
  state().destination = destinationFactor;
  state().colour = colour;
  applyBlender();
}

void setBlendColour(ALLEGRO_COLOR colour) { setBlender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, colour); }

void resetBlender() { setBlender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, al_map_rgba(255, 255, 255, 255)); }

ALLEGRO_COLOR blendColour() { return state().colour; }

void drawBitmap(ALLEGRO_BITMAP* bitmap, float x, float y, int flags) {
  al_draw_tinted_bitmap(bitmap, state().colour, x, y, flags);
}

void drawScaledBitmap(ALLEGRO_BITMAP* bitmap, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                      float dh, int flags) {
  al_draw_tinted_scaled_bitmap(bitmap, state().colour, sx, sy, sw, sh, dx, dy, dw, dh, flags);
}

void drawFilledRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour) {
  al_draw_filled_rectangle(x1, y1, x2, y2, tinted(colour));
}

void drawRectangle(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness) {
  al_draw_rectangle(x1, y1, x2, y2, tinted(colour), thickness);
}

void drawLine(float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour, float thickness) {
  al_draw_line(x1, y1, x2, y2, tinted(colour), thickness);
}

void drawFilledEllipse(float cx, float cy, float rx, float ry, ALLEGRO_COLOR colour) {
  al_draw_filled_ellipse(cx, cy, rx, ry, tinted(colour));
}

void drawPixel(float x, float y, ALLEGRO_COLOR colour) { al_draw_pixel(x, y, tinted(colour)); }

void drawText(ALLEGRO_FONT* font, float x, float y, int flags, const std::string& text) {
  al_draw_text(font, state().colour, x, y, flags, text.c_str());
}
