#include "gui/gui_button.h"

#include "app/app_state.h"
#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "app/switch.h"
#include "world/draw_layer.h"
#include "world/tag.h"

namespace {

constexpr int kAlphaByHighlight[] = {64, 192, 255};  // by Highlight
constexpr float kOutlineThickness = 2.0f;            // px
constexpr float kLabelRaise = 7.0f;                  // px above the middle: half the text height

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

void GuiButton::draw() {
  setBlendColour(al_map_rgba(255, 255, 255, kAlphaByHighlight[static_cast<int>(highlight)]));
  drawFilledRectangle(rect.left, rect.top, rect.right, rect.bottom, al_map_rgb(48, 48, 64));
  drawRectangle(rect.left, rect.top, rect.right, rect.bottom, al_map_rgb(0, 0, 0), kOutlineThickness);
  resetBlender();
  drawText(font, (rect.left + rect.right) * 0.5, (rect.top + rect.bottom) * 0.5 - kLabelRaise, ALLEGRO_ALIGN_CENTRE,
           label);
}
