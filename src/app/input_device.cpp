#include "app/input_device.h"

#include "app/current_state.h"

namespace {

bool wentDown(bool now, bool before) { return now && !before; }

bool padWentDown(const GamepadInput& now, const GamepadInput& before) {
  return wentDown(now.left, before.left) || wentDown(now.right, before.right) || wentDown(now.up, before.up) ||
         wentDown(now.down, before.down) || wentDown(now.jump, before.jump) || wentDown(now.action, before.action) ||
         wentDown(now.retry, before.retry) || wentDown(now.watch, before.watch) || wentDown(now.start, before.start);
}

}  // namespace

void InputDeviceWatch::refresh() {
  const GamepadInput& pad = heldOnGamepad();
  bool keyWentDown = false;
  if (AppStateBase* state = currentState()) {
    for (int key = 1; key < ALLEGRO_KEY_MAX; ++key) {
      bool down = al_key_down(state->keyboardState(), key) && !pressedByGamepad(key);
      keyWentDown = keyWentDown || wentDown(down, keysBefore_[key]);
      keysBefore_[key] = down;
    }
  }
  // A key and the pad in one frame: the keyboard wins.
  if (padWentDown(pad, padBefore_)) device_ = InputDevice::Gamepad;
  if (keyWentDown) device_ = InputDevice::Keyboard;
  padBefore_ = pad;
  refreshDependents();
}

InputDeviceWatch& watchInputDevice() {
  static InputDeviceWatch* watch = new InputDeviceWatch();
  return *watch;
}

InputDevice lastInputDevice() { return watchInputDevice().device(); }
