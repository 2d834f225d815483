#include "entities/spikes.h"

#include "app/blend.h"
#include "app/resource.h"
#include "entities/avatar.h"
#include "world/world.h"

namespace {

constexpr double kTipLine = 18;  // px below the top of the cell

}  // namespace

Spikes::Spikes() { getResource(sheet, "media/tilesheet.png"); }

const int* Spikes::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("dyna"), 0};
  return list;
}

int Spikes::order(int tag) const { return tag == tagOf("rndr") ? 60 : 0; }

// A level without an avatar has no one to hurt.
void Spikes::update(double) {
  auto* avatar = static_cast<Avatar*>(world->first(tagOf("avat")));
  if (!avatar) return;
  Box target = avatar->box();
  double tips = y() + kTipLine;
  if (target.contains(x(), tips) || target.contains(x() + 10, tips) || target.contains(x() + 20, tips)) {
    avatar->die("ate some spiky death");
  }
}

void Spikes::draw() { drawBitmap(sheet->frame(5), static_cast<float>(x()), static_cast<float>(y()), 0); }
