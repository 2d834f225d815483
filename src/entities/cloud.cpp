#include "entities/cloud.h"

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "world/draw_layer.h"
#include "world/play_context.h"
#include "world/theme.h"
#include "world/world.h"

namespace {

constexpr float kTopmost = -20;             // px: highest a cloud may float
constexpr float kLowest = 580;              // px
constexpr double kReentryX = kScreenWidth;  // px: the right edge of the screen
constexpr double kBehindFade = 0.7;         // alpha factor of clouds behind the level

}  // namespace

// Where a cloud starts and whether it passes behind the level, which decides its draw layer.
struct Cloud::Start {
  float x, y;   // px
  float speed;  // px/s
  bool behind;
};

// The draws come in a fixed order (x, y, speed, then the theme's) so that every run builds the
// same sky.
Cloud::Start Cloud::randomStart(Theme& theme) {
  Start start{};
  start.x = randomFloat(-60, 860);
  start.y = randomFloat(kTopmost, kLowest);
  start.speed = randomFloat(15, 30);
  start.behind = theme.cloudBehind();
  return start;
}

Cloud::Cloud(Theme& theme) : Cloud(randomStart(theme)) {}

Cloud::Cloud(const Start& start)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")},
             start.behind ? DrawLayer::BackClouds : DrawLayer::FrontClouds),
      speed(start.speed),
      behind(start.behind) {
  setPosition(start.x, start.y);
  getResource(image, "media/cloud.png");
}

void Cloud::update(double dt) {
  setX(x() - speed * dt);
  // Headless tools play without pictures; a cloud without one wraps as it leaves the screen.
  int width = image ? al_get_bitmap_width(image) : 0;
  if (x() < -width) setPosition(kReentryX, randomFloat(kTopmost, kLowest));
}

void Cloud::draw() {
  unsigned char r, g, b, a;
  al_unmap_rgba(playContext().theme->cloudTint(), &r, &g, &b, &a);
  if (behind) a = static_cast<unsigned char>(static_cast<int>(a * kBehindFade));
  setBlender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, al_map_rgba(r, g, b, a));
  drawBitmap(image, static_cast<float>(x()), static_cast<float>(y()), 0);
  resetBlender();
}
