#include "entities/spikes.h"

#include "app/blend.h"
#include "app/resource.h"
#include "entities/hazard.h"
#include "world/draw_layer.h"
#include "world/world.h"

namespace {

constexpr double kTipLine = 18;  // px below the top of the cell

}  // namespace

Spikes::Spikes() { getResource(sheet, "media/tilesheet.png"); }

const int* Spikes::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("dyna"), 0};
  return list;
}

int Spikes::order(int tag) const { return tag == tagOf("rndr") ? DrawLayer::Spikes : 0; }

void Spikes::update(double) {
  double tips = y() + kTipLine;
  hurtAvatarAt(*world, {{x(), tips}, {x() + 10, tips}, {x() + 20, tips}}, "ate some spiky death");
}

void Spikes::draw() { drawBitmap(sheet->frame(5), static_cast<float>(x()), static_cast<float>(y()), 0); }
