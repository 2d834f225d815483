#include "gui/gui_button.h"

#include "app/app_state.h"
#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "app/switch.h"
#include "world/draw_layer.h"
#include "world/tag.h"

namespace {

// By Highlight. The face is never so clear that the scene behind could wash out the label: a
// disabled button is told by its darker face and grey label instead, which keeps 5:1 on it.
constexpr int kAlphaByHighlight[] = {230, 192, 255};
const ALLEGRO_COLOR kFace = {48 / 255.0f, 48 / 255.0f, 64 / 255.0f, 1};
const ALLEGRO_COLOR kDisabledFace = {20 / 255.0f, 20 / 255.0f, 28 / 255.0f, 1};
const ALLEGRO_COLOR kDisabledLabel = {200 / 255.0f, 200 / 255.0f, 200 / 255.0f, 1};
constexpr float kOutlineThickness = 2.0f;  // px

}  // namespace

GuiButton::GuiButton(const Box& rect_, const std::string& label_, bool enabled_)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")}, DrawLayer::Widgets),
      rect(rect_),
      enabled(enabled_),
      label(label_),
      font(fontResource("media/font.ttf")),
      clickSound(sampleResource("media/land.wav")) {}

void GuiButton::update(double) {
  if (!enabled) {
    setHighlight(Highlight::Disabled);
    return;
  }
  const ALLEGRO_MOUSE_STATE* mouse = currentState()->mouseState();
  if (!rect.contains(mouse->x, mouse->y)) {
    setHighlight(Highlight::Enabled);
    return;
  }
  setHighlight(Highlight::Hovered);
  if (Controls()[kControlClick]->isDown()) {
    clicked = true;
    playSound(clickSound, 1.0f);
  }
}

ALLEGRO_COLOR GuiButton::labelColour() const {
  return highlight == Highlight::Disabled ? kDisabledLabel : al_map_rgb(255, 255, 255);
}

void GuiButton::draw() {
  setBlendColour(al_map_rgba(255, 255, 255, kAlphaByHighlight[static_cast<int>(highlight)]));
  drawFilledRectangle(rect.left, rect.top, rect.right, rect.bottom,
                      highlight == Highlight::Disabled ? kDisabledFace : kFace);
  drawRectangle(rect.left, rect.top, rect.right, rect.bottom, al_map_rgb(0, 0, 0), kOutlineThickness);
  setBlendColour(labelColour());
  drawText(font, labelX(), labelY(), ALLEGRO_ALIGN_CENTRE, label);
  resetBlender();
}
