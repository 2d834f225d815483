#include "themes/th_mist.h"

#include <allegro5/allegro_opengl.h>

#include "app/blend.h"
#include "app/geometry.h"
namespace {
constexpr float kFogAlpha = 0.7f;
constexpr float kFogBankBottom = 200.0f;  // px; the fog is even above this line
}  // namespace

ALLEGRO_COLOR ThMist::skyTop() const { return al_map_rgb_f(0.85f, 0.85f, 0.85f); }

ALLEGRO_COLOR ThMist::skyBottom() const { return al_map_rgb_f(0.45f, 0.45f, 0.45f); }

ALLEGRO_COLOR ThMist::cloudTint() const { return al_map_rgba(200, 200, 200, 128); }

// The GL blend function is set here because the library sets its own only when it draws, so
// an additive glow drawn last would otherwise still be in force.
void ThMist::afterEntities() {
  beginRawDrawing();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBegin(GL_QUADS);
  glColor4f(1, 1, 1, 0);
  glVertex2f(0, kScreenHeight);
  glVertex2f(kScreenWidth, kScreenHeight);
  glColor4f(1, 1, 1, kFogAlpha);
  glVertex2f(kScreenWidth, kFogBankBottom);
  glVertex2f(0, kFogBankBottom);
  glVertex2f(0, kFogBankBottom);
  glVertex2f(kScreenWidth, kFogBankBottom);
  glVertex2f(kScreenWidth, 0);
  glVertex2f(0, 0);
  glEnd();
}
