#include "entities/garbage.h"

#include <cmath>

#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "entities/avatar.h"
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

Garbage::Garbage()
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna"), tagOf("loos")}, DrawLayer::LooseGarbage),
      frame(randomInt(0, 2)) {
  getResource(sheet, "media/loosesheet.png");
  getResource(pickupSound, "media/pickup.wav");
}

// Whatever the avatar's outcome, its box still collects; a level without an avatar has no one
// to collect anything.
void Garbage::update(double dt) {
  phase += dt;
  Avatar* avatar = world->first<Avatar>();
  if (avatar && avatar->box().contains(x() + 10, y() + 10)) collect();
}

void Garbage::collect() {
  playSound(pickupSound, 1.0f);
  kill();
  playContext().garbageCollected += 1.0;
  spawnGlowRing(*world, x(), y(), kSparkCount, kSparkMinSpeed, kSparkMaxSpeed, kSparkDrag);
}

void Garbage::draw() {
  drawBitmap(sprite(), static_cast<float>(x()), bobbedY(), 0);
  if (std::optional<ColouredEllipse> ring = glow()) {
    setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, ring->colour);
    drawFilledEllipse(ring->cx, ring->cy, ring->rx, ring->ry, al_map_rgb(255, 255, 255));
    resetBlender();
  }
}

// A run draws every sprite, then every glow in one call. Only a glow that reaches the sprite of
// a later garbage would change its pixels by that, since glows add up in any order.
void Garbage::drawRun(const std::vector<Entity*>& run) {
  if (glowsReachLaterSprites(run)) {
    for (Entity* garbage : run) garbage->draw();
    return;
  }
  std::vector<ColouredEllipse> rings;
  for (const Entity* entity : run) {
    auto* garbage = static_cast<const Garbage*>(entity);
    drawBitmap(garbage->sprite(), static_cast<float>(garbage->x()), garbage->bobbedY(), 0);
    if (std::optional<ColouredEllipse> ring = garbage->glow()) rings.push_back(*ring);
  }
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgb(255, 255, 255));
  drawFilledEllipses(rings.data(), static_cast<int>(rings.size()));
  resetBlender();
}

// With a pixel of margin all round, since coverage is decided at pixel centres.
bool Garbage::glowsReachLaterSprites(const std::vector<Entity*>& run) {
  for (size_t i = 0; i < run.size(); ++i) {
    std::optional<ColouredEllipse> ring = static_cast<const Garbage*>(run[i])->glow();
    if (!ring) continue;
    for (size_t j = i + 1; j < run.size(); ++j) {
      auto* later = static_cast<const Garbage*>(run[j]);
      float left = static_cast<float>(later->x()) - 1;
      float top = later->bobbedY() - 1;
      float right = left + static_cast<float>(al_get_bitmap_width(later->sprite())) + 2;
      float bottom = top + static_cast<float>(al_get_bitmap_height(later->sprite())) + 2;
      if (ring->cx + ring->rx > left && ring->cx - ring->rx < right && ring->cy + ring->ry > top &&
          ring->cy - ring->ry < bottom)
        return true;
    }
  }
  return false;
}

ALLEGRO_BITMAP* Garbage::sprite() const { return sheet->frame(frame); }

float Garbage::bobbedY() const { return static_cast<float>(y() + kBobHeight * std::sin(kBobRate * phase)); }

// Once a second a ring grows from the centre and fades out: a white disc drawn additively, its
// colour here the blend colour that fades it. None while no ring shows.
std::optional<ColouredEllipse> Garbage::glow() const {
  float fraction = static_cast<float>(phase) - std::trunc(static_cast<float>(phase));
  if (fraction >= kGlowDuration) return std::nullopt;
  auto alpha = static_cast<unsigned char>(static_cast<int>(128 - 319 * fraction));
  float radius = kGlowGrowth * fraction;
  return ColouredEllipse{static_cast<float>(x() + 10), static_cast<float>(y() + 10), radius, radius,
                         al_map_rgba(255, 255, 255, alpha)};
}
