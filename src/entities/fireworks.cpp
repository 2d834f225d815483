#include "entities/fireworks.h"

#include "app/resource.h"
#include "app/sound.h"
#include "entities/particle.h"
#include "world/draw_layer.h"
#include "world/world.h"

namespace {

constexpr int kBurstOdds = 50;  // a burst when randomInt(0, kBurstOdds) is 0
constexpr int kSparkCount = 60;
constexpr float kSparkMinSpeed = 215;  // px/s
constexpr float kSparkMaxSpeed = 265;  // px/s
constexpr double kSparkDrag = 0.1;     // fraction of the speed lost per update
constexpr float kBurstGain = 1.2f;

}  // namespace

Fireworks::Fireworks() : Entity({tagOf("entt"), tagOf("dyna")}, DrawLayer::NotDrawn) {
  getResource(burstSound, "media/land.wav");
}

void Fireworks::update(double) {
  if (randomInt(0, kBurstOdds) != 0) return;
  playSound(burstSound, kBurstGain);
  spawnGlowRing(*world, x(), y(), kSparkCount, kSparkMinSpeed, kSparkMaxSpeed, kSparkDrag);
}
