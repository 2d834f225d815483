#include "entities/sign_text.h"

#include <strings.h>

#include "app/gamepad.h"
#include "app/input_device.h"
#include "app/key_bindings.h"

namespace {

// The pad's way to each play key, in PlayKey order.
const char* const kOnThePad[kPlayKeyCount] = {"stick left", "stick right", "stick up", "stick down", "A", "B"};

}  // namespace

std::optional<std::string> placeholderText(const std::string& name) {
  bool pad = lastInputDevice() == InputDevice::Gamepad;
  for (int i = 0; i < kPlayKeyCount; ++i) {
    auto key = static_cast<PlayKey>(i);
    if (strcasecmp(name.c_str(), playKeyName(key)) != 0) continue;
    return pad ? kOnThePad[i] : keyLabel(keyBindingsInUse()[key]);
  }
  return std::nullopt;
}

std::string signText(const std::string& text) {
  std::string shown;
  size_t from = 0;
  for (size_t open = text.find('['); open != std::string::npos; open = text.find('[', from)) {
    size_t close = text.find(']', open + 1);
    if (close == std::string::npos) break;
    std::optional<std::string> key = placeholderText(text.substr(open + 1, close - open - 1));
    // An unknown bracket is kept whole up to its '[', so "[[jump]" still shows the key.
    size_t keptUpTo = key ? close + 1 : open + 1;
    shown += text.substr(from, open - from) + (key ? *key : "[");
    from = keptUpTo;
  }
  return shown + text.substr(from);
}
