#include "app/switch.h"

#include <allegro5/allegro.h>

#include <algorithm>

#include "app/current_state.h"
#include "app/gamepad.h"
#include "app/input_device.h"

namespace {
std::vector<Switch*>& rootRegistry() {
  static std::vector<Switch*> registry;
  return registry;
}
}  // namespace

Switch::Switch(bool root) : root_(root) {
  if (root_) rootRegistry().push_back(this);
}

Switch::~Switch() {
  for (Switch* dependent : dependents_) dependent->sourceDestroyed();
  if (root_) {
    auto& registry = rootRegistry();
    registry.erase(std::remove(registry.begin(), registry.end(), this), registry.end());
  }
}

void Switch::attach(Switch* dependent) { dependents_.push_back(dependent); }

void Switch::detach(Switch* dependent) {
  dependents_.erase(std::remove(dependents_.begin(), dependents_.end(), dependent), dependents_.end());
}

void Switch::refreshDependents() {
  for (Switch* dependent : dependents_) dependent->refresh();
}

Key::Key(int keyCode) : Switch(true), keyCode_(keyCode) {}

void Key::refresh() {
  AppStateBase* state = currentState();
  down_ = state && al_key_down(state->keyboardState(), keyCode_);
  refreshDependents();
}

MouseKey::MouseKey(int button) : Switch(true), button_(button) {}

void MouseKey::refresh() {
  AppStateBase* state = currentState();
  down_ = state && al_mouse_button_down(state->mouseState(), button_);
  refreshDependents();
}

OnPress::OnPress(Switch* inner) : Switch(false), inner_(inner) { inner_->attach(this); }

OnPress::~OnPress() {
  if (inner_) inner_->detach(this);
}

void OnPress::refresh() {
  previous_ = current_;
  current_ = inner_->isDown();
  refreshDependents();
}

void refreshRootSwitches() {
  // A refresh never creates or destroys switches, so the registry is stable during the walk.
  for (Switch* root : rootRegistry()) root->refresh();
}

const std::vector<Switch*>& rootSwitches() { return rootRegistry(); }

namespace {
Key* controlKeys[kControlCount] = {};

Switch* heldKey(ControlIndex index, int keyCode) { return controlKeys[index] = new Key(keyCode); }

Switch* pressOf(ControlIndex index, int keyCode) {
  controlKeys[index] = new Key(keyCode);
  return new OnPress(controlKeys[index]);
}
}  // namespace

Switch** Controls() {
  static Switch* table[kControlCount] = {};
  if (!table[0]) {
    table[kControlUp] = heldKey(kControlUp, ALLEGRO_KEY_UP);
    table[kControlDown] = heldKey(kControlDown, ALLEGRO_KEY_DOWN);
    table[kControlLeft] = heldKey(kControlLeft, ALLEGRO_KEY_LEFT);
    table[kControlRight] = heldKey(kControlRight, ALLEGRO_KEY_RIGHT);
    table[kControlJump] = pressOf(kControlJump, ALLEGRO_KEY_Z);
    table[kControlAction] = pressOf(kControlAction, ALLEGRO_KEY_X);
    table[kControlSpace] = pressOf(kControlSpace, ALLEGRO_KEY_SPACE);
    table[kControlClick] = new OnPress(new MouseKey(1));
    table[kControlEscape] = pressOf(kControlEscape, ALLEGRO_KEY_ESCAPE);
    table[kControlRetry] = pressOf(kControlRetry, ALLEGRO_KEY_R);
    table[kControlStart] = new OnPress(new GamepadButton(PadButton::Start));
    table[kControlPadA] = new OnPress(new GamepadButton(PadButton::A));
    table[kControlPadB] = new OnPress(new GamepadButton(PadButton::B));
    table[kControlPadX] = new OnPress(new GamepadButton(PadButton::X));
    table[kControlPadY] = new OnPress(new GamepadButton(PadButton::Y));
    watchInputDevice();
  }
  return table;
}

Key& controlKey(ControlIndex index) {
  Controls();
  return *controlKeys[index];
}
