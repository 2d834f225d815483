#include "entities/force_field.h"

#include "app/blend.h"
#include "entities/hazard.h"
#include "world/draw_layer.h"
#include "world/world.h"

namespace {

const char* const kBakedReason = "got baked by a force field";

}  // namespace

ForceField::ForceField(bool isVertical)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")}, DrawLayer::ForceFields), vertical(isVertical) {}

// The centre and the two ends of the beam.
void ForceField::update(double) {
  double cx = x() + 10;
  double cy = y() + 10;
  if (vertical) {
    hurtAvatarAt(*world, {{cx, cy}, {cx, y() + 20}, {cx, y()}}, kBakedReason);
  } else {
    hurtAvatarAt(*world, {{cx, cy}, {x(), cy}, {x() + 20, cy}}, kBakedReason);
  }
}

void ForceField::draw() {
  float left = static_cast<float>(x());
  float top = static_cast<float>(y());
  ALLEGRO_COLOR glow = al_map_rgba(255, 255, 0, 36);
  ALLEGRO_COLOR core = al_map_rgba(255, 255, 255, 128);
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgba(255, 255, 255, 255));
  if (vertical) {
    drawFilledRectangle(left + 8, top, left + 13, top + 20, glow);
    drawFilledRectangle(left + 10, top, left + 11, top + 20, core);
  } else {
    drawFilledRectangle(left, top + 8, left + 20, top + 13, glow);
    drawFilledRectangle(left, top + 10, left + 20, top + 11, core);
  }
  resetBlender();
}
