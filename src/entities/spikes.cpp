#include "entities/spikes.h"

#include "app/blend.h"
#include "app/resource.h"
#include "entities/hazard.h"
#include "world/draw_layer.h"
#include "world/world.h"

namespace {

constexpr double kTipLine = 18;  // px below the top of the cell

}  // namespace

Spikes::Spikes() : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")}, DrawLayer::Spikes) {
  getResource(sheet, "media/tilesheet.png");
}

void Spikes::update(double) {
  double tips = y() + kTipLine;
  hurtAvatarAt(*world, {{x(), tips}, {x() + 10, tips}, {x() + 20, tips}}, "ate some spiky death");
}

void Spikes::draw() { drawBitmap(sheet->frame(5), static_cast<float>(x()), static_cast<float>(y()), 0); }
