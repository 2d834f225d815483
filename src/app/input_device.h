#pragma once

#include <allegro5/allegro.h>

#include <bitset>

#include "app/gamepad.h"
#include "app/switch.h"

// Which device the player used last, so that prompts name the buttons in the player's hands.
enum class InputDevice { Keyboard, Gamepad };

// Anything the pad newly holds makes it the gamepad; a key going down that the pad does not
// press makes it the keyboard again. The mouse changes nothing: a click is no answer to which
// names a prompt should show. Refreshed with the root switches, from the current state's
// snapshot after the pad has added its keys.
class InputDeviceWatch : public Switch {
 public:
  InputDeviceWatch() : Switch(true) {}
  // Down while the gamepad was used last.
  bool isDown() const override { return device_ == InputDevice::Gamepad; }
  void refresh() override;
  InputDevice device() const { return device_; }

 private:
  InputDevice device_ = InputDevice::Keyboard;
  GamepadInput padBefore_;
  std::bitset<ALLEGRO_KEY_MAX> keysBefore_;
};

// The process's watch, made with the Controls table and never destroyed.
InputDeviceWatch& watchInputDevice();
InputDevice lastInputDevice();
