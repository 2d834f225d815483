#include "entities/garbage.h"

#include <cmath>

#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "entities/particle.h"
#include "world/draw_layer.h"
#include "world/play_context.h"
#include "world/world.h"

namespace {

constexpr int kSparkCount = 30;
constexpr float kSparkMinSpeed = 25;   // px/s
constexpr float kSparkMaxSpeed = 45;   // px/s
constexpr double kSparkDrag = -0.02;   // fraction of the speed per update
constexpr double kBobHeight = 2;       // px
constexpr double kBobRate = 5;         // rad/s
constexpr float kGlowDuration = 0.4f;  // s of each second during which the ring shows
constexpr float kGlowGrowth = 25;      // px of radius per second

}  // namespace

Garbage::Garbage() : frame(randomInt(0, 2)) {
  getResource(sheet, "media/loosesheet.png");
  getResource(pickupSound, "media/pickup.wav");
}

const int* Garbage::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("dyna"), tagOf("loos"), 0};
  return list;
}

int Garbage::order(int tag) const { return tag == tagOf("rndr") ? DrawLayer::LooseGarbage : 0; }

// Whatever the avatar's outcome, its box still collects; a level without an avatar has no one
// to collect anything.
void Garbage::update(double dt) {
  phase += dt;
  Entity* avatar = world->first(tagOf("avat"));
  if (avatar && avatar->box().contains(x() + 10, y() + 10)) collect();
}

void Garbage::collect() {
  playSound(pickupSound, 1.0f);
  kill();
  currentPlayContext()->garbageCollected += 1.0;
  spawnGlowRing(*world, x(), y(), kSparkCount, kSparkMinSpeed, kSparkMaxSpeed, kSparkDrag);
}

void Garbage::draw() {
  float bob = static_cast<float>(y() + kBobHeight * std::sin(kBobRate * phase));
  drawBitmap(sheet->frame(frame), static_cast<float>(x()), bob, 0);
  drawGlow();
}

// Once a second a ring grows from the centre and fades out.
void Garbage::drawGlow() const {
  float fraction = static_cast<float>(phase) - std::trunc(static_cast<float>(phase));
  if (fraction >= kGlowDuration) return;
  auto alpha = static_cast<unsigned char>(static_cast<int>(128 - 319 * fraction));
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgba(255, 255, 255, alpha));
  float radius = kGlowGrowth * fraction;
  drawFilledEllipse(static_cast<float>(x() + 10), static_cast<float>(y() + 10), radius, radius,
                    al_map_rgba(255, 255, 255, 255));
  resetBlender();
}
