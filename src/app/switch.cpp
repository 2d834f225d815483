#include "app/switch.h"

#include <allegro5/allegro.h>

#include <algorithm>

#include "app/current_state.h"

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

Switch** Controls() {
  static Switch* table[kControlCount] = {};
  if (!table[0]) {
    table[kControlUp] = new Key(ALLEGRO_KEY_UP);
    table[kControlDown] = new Key(ALLEGRO_KEY_DOWN);
    table[kControlLeft] = new Key(ALLEGRO_KEY_LEFT);
    table[kControlRight] = new Key(ALLEGRO_KEY_RIGHT);
    table[kControlJump] = new OnPress(new Key(ALLEGRO_KEY_Z));
    table[kControlAction] = new OnPress(new Key(ALLEGRO_KEY_X));
    table[kControlSpace] = new OnPress(new Key(ALLEGRO_KEY_SPACE));
    table[kControlClick] = new OnPress(new MouseKey(1));
    table[kControlEscape] = new OnPress(new Key(ALLEGRO_KEY_ESCAPE));
    table[kControlRetry] = new OnPress(new Key(ALLEGRO_KEY_R));
  }
  return table;
}
