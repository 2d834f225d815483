#include "entities/bag.h"

#include <algorithm>
#include <iterator>

#include "app/blend.h"
#include "app/resource.h"
#include "world/draw_layer.h"
#include "world/tag.h"

namespace {

constexpr double kStartX = 400;  // px

}  // namespace

Bag::Bag()
    : Carryable({tagOf("entt"), tagOf("rndr"), tagOf("dyna"), kTag, Carryable::kTag, tagOf("prss")}, DrawLayer::Bags) {
  getResource(image, "media/bag.png");
  setPosition(kStartX, 0);
}

Box Bag::box() const { return Box{x() + 2, y() + 4, x() + 17, y() + 20}; }

void Bag::update(double dt) {
  resolveTiles();
  if (carryState == Resting && !onGround()) {
    vx = 0;
    vy = 0;
    carryState = Free;
  }
  if (carryState == Free) fly(dt);
}

void Bag::draw() { drawBitmap(image, static_cast<float>(x()), static_cast<float>(y()), 0); }

// A bag stays put while any one of its feet is over a solid tile.
bool Bag::onGround() const {
  return std::any_of(std::begin(kFeetX), std::end(kFeetX), [this](double foot) { return groundUnder(foot); });
}
