#include "entities/press_pad.h"

#include <algorithm>
#include <iterator>

#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "entities/body.h"
#include "world/draw_layer.h"
#include "world/play_context.h"
#include "world/world.h"

namespace {

constexpr double kFootY = 19;  // px below an entity's top: where its feet are

}  // namespace

PressPad::PressPad(int switchChannel, bool onAtRest)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")}, DrawLayer::PressPads),
      channel(switchChannel),
      restingOn(onAtRest) {
  getResource(sheet, "media/tilesheet.png");
  getResource(switchSound, "media/switch.wav");
}

Box PressPad::box() const { return Box{x(), y() + 14, x() + 20, y() + 20}; }

void PressPad::update(double) {
  pressed = false;
  for (Entity* entity : world->byTag(tagOf("prss"))) {
    if (weighedDownBy(*entity)) pressed = true;
  }
  playContext().channelStates[channel] = (pressed != restingOn) ? 1 : 0;
  if (pressed != wasPressed) playSound(switchSound, 1.0f);
  wasPressed = pressed;
}

bool PressPad::weighedDownBy(const Entity& entity) const {
  Box pad = box();
  double feetY = entity.y() + kFootY;
  return std::any_of(std::begin(kFeetX), std::end(kFeetX),
                     [&](double foot) { return pad.contains(entity.x() + foot, feetY); });
}

void PressPad::draw() {
  drawBitmap(sheet->frame(pressed ? 10 : 9), static_cast<float>(x()), static_cast<float>(y()), 0);
}
