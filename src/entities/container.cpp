#include "entities/container.h"

#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "entities/bag.h"
#include "entities/carryable.h"
#include "entities/particle.h"
#include "world/draw_layer.h"
#include "world/world.h"

namespace {

constexpr int kSparkCount = 40;
constexpr double kSparkLife = 0.8;    // s
constexpr double kSparkDrag = -0.02;  // fraction of the speed per update

}  // namespace

Container::Container(double x, double y, int bagsWanted)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna"), kTag}, DrawLayer::Containers), remaining(bagsWanted) {
  setPosition(x, y);
  getResource(sheet, "media/contsheet.png");
  getResource(font, "media/font.ttf");
  getResource(dropSound, "media/cont.wav");
}

Box Container::box() const { return Box{x() + 2, y(), x() + 37, y() + 10}; }

// Only a free bag (thrown or dropped, not yet landed) is taken: one carried through the mouth
// or lying in it stays out.
void Container::update(double) {
  for (Bag& bag : world->all<Bag>()) {
    if (remaining <= 0) return;
    if (bag.carryState == Carryable::Free && box().contains(bag.x() + 10, bag.y() + 15)) swallow(bag);
  }
}

void Container::swallow(Carryable& bag) {
  bag.kill();
  remaining -= 1;
  playSound(dropSound, 1.0f);
  for (int i = 0; i < kSparkCount; ++i) {
    float speed = randomFloat(-37, -75);
    float dx = randomFloat(5, 35);
    float dy = randomFloat(-5, 10);
    world->add<Particle>("media/glow.png", x() + dx, y() + dy, 0, speed, kSparkLife, kSparkDrag, ALLEGRO_ONE);
  }
}

void Container::draw() {
  drawBitmap(sheet->frame(remaining == 0 ? 1 : 0), static_cast<float>(x()), static_cast<float>(y() - 8), 0);
  if (remaining == 0) return;
  std::string count = format("%d", remaining);
  setBlendColour(al_map_rgb(0, 0, 0));
  drawText(font, static_cast<float>(x() + 21), static_cast<float>(y() + 5), ALLEGRO_ALIGN_CENTRE, count);
  setBlendColour(al_map_rgb(255, 255, 0));
  drawText(font, static_cast<float>(x() + 20), static_cast<float>(y() + 4), ALLEGRO_ALIGN_CENTRE, count);
  resetBlender();
}
