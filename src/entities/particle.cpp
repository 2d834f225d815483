#include "entities/particle.h"

#include <cmath>

#include "app/blend.h"
#include "app/resource.h"
#include "world/draw_layer.h"
#include "world/tag.h"
#include "world/world.h"

namespace {

constexpr int kPuffCount = 20;
constexpr double kPuffLife = 0.8;     // s
constexpr double kPuffDrag = -0.02;   // fraction of the speed per update
constexpr float kPuffSpread = 10.0f;  // px either way
constexpr float kFullTurn = 6.28f;    // radians, as the bursts have always drawn it
constexpr double kGlowLife = 0.4;     // s
constexpr float kGlowSpread = 5.0f;   // px either way

}  // namespace

Particle::Particle(const std::string& imageFile, double x, double y, double startVx, double startVy, double lifetime,
                   double dragPerUpdate, int destinationBlend)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")}, DrawLayer::Particles),
      vx(startVx),
      vy(startVy),
      life(lifetime),
      initialLife(lifetime),
      drag(dragPerUpdate),
      blendDest(destinationBlend) {
  setPosition(x, y);
  getResource(image, imageFile);
}

// Drag is applied once per update, not scaled by dt: a burst looks different at other rates.
void Particle::update(double dt) {
  setPosition(x() + vx * dt, y() + vy * dt);
  life -= dt;
  vx -= vx * drag;
  vy -= vy * drag;
  if (life <= 0) kill();
}

void Particle::draw() {
  unsigned char alpha = static_cast<unsigned char>(static_cast<int>(life * 255 / initialLife));
  setBlender(ALLEGRO_ALPHA, blendDest, al_map_rgba(255, 255, 255, alpha));
  drawBitmap(image, static_cast<float>(x()), static_cast<float>(y()), 0);
  resetBlender();
}

// The random draws come in a fixed order (speed, then x offset, then y offset) so that a
// replay spawns the very same puffs.
void spawnPuffs(World& world, double x, double y) {
  for (int i = 0; i < kPuffCount; ++i) {
    float speed = randomFloat(-7, -15);
    float dx = randomFloat(-kPuffSpread, kPuffSpread);
    float dy = randomFloat(-kPuffSpread, kPuffSpread);
    world.add<Particle>("media/puff.png", x + dx, y + dy, 0, speed, kPuffLife, kPuffDrag, ALLEGRO_INVERSE_ALPHA);
  }
}

void spawnGlowRing(World& world, double x, double y, int count, float minSpeed, float maxSpeed, double drag) {
  for (int i = 0; i < count; ++i) {
    float angle = randomFloat(0, kFullTurn);
    float speed = randomFloat(minSpeed, maxSpeed);
    float dx = randomFloat(-kGlowSpread, kGlowSpread);
    float dy = randomFloat(-kGlowSpread, kGlowSpread);
    world.add<Particle>("media/glow.png", x + dx, y + dy, speed * std::sin(static_cast<double>(angle)),
                        speed * std::cos(static_cast<double>(angle)), kGlowLife, drag, ALLEGRO_ONE);
  }
}
