#include "entities/cloud.h"

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "world/draw_layer.h"
#include "world/theme.h"
#include "world/world.h"

namespace {

constexpr float kTopmost = -20;             // px: highest a cloud may float
constexpr float kLowest = 580;              // px
constexpr double kReentryX = kScreenWidth;  // px: the right edge of the screen
constexpr double kBehindFade = 0.7;         // alpha factor of clouds behind the level

}  // namespace

// The draws come in a fixed order (x, y, speed) so that every run builds the same sky.
Cloud::Cloud() {
  float startX = randomFloat(-60, 860);
  float startY = randomFloat(kTopmost, kLowest);
  setPosition(startX, startY);
  speed = randomFloat(15, 30);
  behind = currentTheme->cloudBehind();
  getResource(image, "media/cloud.png");
}

const int* Cloud::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("dyna"), 0};
  return list;
}

int Cloud::order(int tag) const {
  if (tag != tagOf("rndr")) return 0;
  return behind ? DrawLayer::BackClouds : DrawLayer::FrontClouds;
}

void Cloud::update(double dt) {
  setX(x() - speed * dt);
  if (x() < -al_get_bitmap_width(image)) setPosition(kReentryX, randomFloat(kTopmost, kLowest));
}

void Cloud::draw() {
  unsigned char r, g, b, a;
  al_unmap_rgba(currentTheme->cloudTint(), &r, &g, &b, &a);
  if (behind) a = static_cast<unsigned char>(static_cast<int>(a * kBehindFade));
  setBlender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, al_map_rgba(r, g, b, a));
  drawBitmap(image, static_cast<float>(x()), static_cast<float>(y()), 0);
  resetBlender();
}
