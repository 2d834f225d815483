#include "themes/th_night.h"

#include "app/blend.h"
#include "app/geometry.h"
#include "world/world.h"

namespace {
constexpr float kStarMargin = 3.0f;  // px kept clear at every screen edge
constexpr int kVeilAlpha = 80;       // of 255
}  // namespace

ThNight::ThNight() {
  for (Star& star : stars) {
    star.x = randomFloat(kStarMargin, kScreenWidth - kStarMargin);
    star.y = randomFloat(kStarMargin, kScreenHeight - kStarMargin);
  }
}

ALLEGRO_COLOR ThNight::skyTop() const { return al_map_rgb(40, 10, 60); }

ALLEGRO_COLOR ThNight::skyBottom() const { return al_map_rgb(10, 0, 20); }

ALLEGRO_COLOR ThNight::cloudTint() const { return al_map_rgb(0, 0, 0); }

void ThNight::beforeEntities() {
  for (const Star& star : stars) drawPixel(star.x, star.y, al_map_rgb(128, 128, 128));
}

void ThNight::afterEntities() {
  setBlender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, al_map_rgba(0, 0, 0, kVeilAlpha));
  drawFilledRectangle(0, 0, kScreenWidth, kScreenHeight, al_map_rgb(0, 0, 0));
  resetBlender();
}
