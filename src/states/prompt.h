#pragma once

#include <string>
#include <vector>

#include "app/gamepad.h"
#include "app/input_device.h"

// One thing a panel offers: the keys and the pad buttons that do it, and what it does.
struct PromptChoice {
  std::vector<std::string> keys;
  std::vector<PadButton> buttons;
  std::string does;
};

// The choices as the device used last names them: "SPACE - next level, R - retry" on the
// keyboard, "A - next level, X - retry" on the pad.
std::string promptText(const std::vector<PromptChoice>& choices, InputDevice device);
