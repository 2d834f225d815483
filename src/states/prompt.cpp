#include "states/prompt.h"

namespace {

std::string names(const PromptChoice& choice, InputDevice device) {
  std::string joined;
  auto add = [&joined](const std::string& name) { joined += (joined.empty() ? "" : ", ") + name; };
  if (device == InputDevice::Gamepad) {
    for (PadButton button : choice.buttons) add(padButtonName(button));
  } else {
    for (const std::string& key : choice.keys) add(key);
  }
  return joined;
}

}  // namespace

std::string promptText(const std::vector<PromptChoice>& choices, InputDevice device) {
  std::string text;
  for (const PromptChoice& choice : choices) {
    text += (text.empty() ? "" : ", ") + names(choice, device) + " - " + choice.does;
  }
  return text;
}
