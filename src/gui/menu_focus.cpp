#include "gui/menu_focus.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/blend.h"
#include "app/current_state.h"
#include "app/gamepad.h"

namespace {

constexpr double kAcrossWeight = 2.0;   // a step across the arrow counts as much as two along it
constexpr float kMarkMargin = 3.0f;     // px around the button
constexpr float kMarkThickness = 2.0f;  // px

bool keyDown(int keyCode) { return al_key_down(currentState()->keyboardState(), keyCode); }

double centreX(const Box& box) { return (box.left + box.right) * 0.5; }
double centreY(const Box& box) { return (box.top + box.bottom) * 0.5; }

}  // namespace

MenuKeys menuKeysHeld() {
  const GamepadInput& pad = heldOnGamepad();
  MenuKeys held;
  held.left = keyDown(ALLEGRO_KEY_LEFT) || pad.left;
  held.right = keyDown(ALLEGRO_KEY_RIGHT) || pad.right;
  held.up = keyDown(ALLEGRO_KEY_UP) || pad.up;
  held.down = keyDown(ALLEGRO_KEY_DOWN) || pad.down;
  held.press = keyDown(ALLEGRO_KEY_ENTER) || keyDown(ALLEGRO_KEY_PAD_ENTER) || keyDown(ALLEGRO_KEY_Z) || pad.jump;
  return held;
}

GuiButton* MenuFocus::update(const std::vector<GuiButton*>& order, const MenuKeys& held, int mouseX, int mouseY) {
  bool mouseMoved = mouseX_ >= 0 && (mouseX != mouseX_ || mouseY != mouseY_);
  mouseX_ = mouseX;
  mouseY_ = mouseY;
  MenuKeys went{held.left && !previous_.left, held.right && !previous_.right, held.up && !previous_.up,
                held.down && !previous_.down, held.press && !previous_.press};
  previous_ = held;
  if (mouseMoved) shown_ = false;
  for (GuiButton* button : order) button->focused = false;
  if (order.empty()) return nullptr;
  if (std::find(order.begin(), order.end(), at_) == order.end()) at_ = order.front();
  bool used = went.left || went.right || went.up || went.down || went.press;
  if (!shown_) {
    // The first key only shows where the focus is.
    shown_ = used;
    at_->focused = shown_;
    if (shown_ && at_->enabled) at_->setHighlight(Highlight::Hovered);
    return nullptr;
  }
  // Two arrows at once go the way of the vertical one.
  int dy = went.down - went.up;
  if (GuiButton* next = nearest(order, dy == 0 ? went.right - went.left : 0, dy)) at_ = next;
  at_->focused = true;
  if (!at_->enabled) return nullptr;
  at_->setHighlight(Highlight::Hovered);
  return went.press ? at_ : nullptr;
}

// Buttons within 45 degrees of the arrow come first, so that a step sideways never climbs to a
// button that lies mostly above or below.
GuiButton* MenuFocus::nearest(const std::vector<GuiButton*>& order, int dx, int dy) const {
  if (dx == 0 && dy == 0) return nullptr;
  GuiButton* best = nullptr;
  double bestScore = std::numeric_limits<double>::max();
  bool bestInCone = false;
  for (GuiButton* button : order) {
    if (button == at_ || !(button->enabled || button->focusableWhenDisabled())) continue;
    double offsetX = centreX(button->rect) - centreX(at_->rect);
    double offsetY = centreY(button->rect) - centreY(at_->rect);
    double along = offsetX * dx + offsetY * dy;
    double across = std::abs(offsetX * dy) + std::abs(offsetY * dx);
    double score = along + kAcrossWeight * across;
    bool inCone = across <= along;
    if (along > 0 && ((inCone && !bestInCone) || (inCone == bestInCone && score < bestScore))) {
      best = button;
      bestScore = score;
      bestInCone = inCone;
    }
  }
  return best;
}

void MenuFocus::draw() const {
  if (!shown_ || !at_) return;
  const Box& box = at_->rect;
  drawRectangle(box.left - kMarkMargin, box.top - kMarkMargin, box.right + kMarkMargin, box.bottom + kMarkMargin,
                al_map_rgb(255, 255, 0), kMarkThickness);
}
