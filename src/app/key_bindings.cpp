#include "app/key_bindings.h"

#include <allegro5/allegro.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "app/switch.h"

namespace {

struct FixedKey {
  int keyCode;
  const char* meaning;
};
constexpr FixedKey kFixedKeys[] = {{ALLEGRO_KEY_ESCAPE, "leaving"},
                                   {ALLEGRO_KEY_R, "retry"},
                                   {ALLEGRO_KEY_P, "pause"},
                                   {ALLEGRO_KEY_SPACE, "going on after a level"},
                                   {ALLEGRO_KEY_F11, "full screen"}};

const char* const kPlayKeyNames[kPlayKeyCount] = {"left", "right", "up", "down", "jump", "action"};
const char* const kNumberedKey = "KEY";

const char* fixedMeaning(int keyCode) {
  for (const FixedKey& fixed : kFixedKeys) {
    if (fixed.keyCode == keyCode) return fixed.meaning;
  }
  return nullptr;
}

KeyBindings& bindingsInUse() {
  static KeyBindings bindings;
  return bindings;
}

}  // namespace

KeyBindings::KeyBindings()
    : keys{ALLEGRO_KEY_LEFT, ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_UP, ALLEGRO_KEY_DOWN, ALLEGRO_KEY_Z, ALLEGRO_KEY_X} {}

Rebinding rebind(KeyBindings& bindings, PlayKey key, int keyCode) {
  if (keyCode <= 0 || keyCode >= ALLEGRO_KEY_MAX) return {RebindOutcome::NotAKey, ""};
  if (bindings[key] == keyCode) return {RebindOutcome::Unchanged, ""};
  if (const char* meaning = fixedMeaning(keyCode)) return {RebindOutcome::Fixed, meaning};
  for (int other = 0; other < kPlayKeyCount; ++other) {
    if (bindings.keys[other] == keyCode) return {RebindOutcome::Taken, kPlayKeyNames[other]};
  }
  bindings[key] = keyCode;
  return {RebindOutcome::Bound, ""};
}

bool usable(const KeyBindings& bindings) {
  for (int i = 0; i < kPlayKeyCount; ++i) {
    int keyCode = bindings.keys[i];
    bool repeated = std::count(bindings.keys.begin(), bindings.keys.end(), keyCode) > 1;
    if (keyCode <= 0 || keyCode >= ALLEGRO_KEY_MAX || fixedMeaning(keyCode) || repeated) return false;
  }
  return true;
}

const char* playKeyName(PlayKey key) { return kPlayKeyNames[static_cast<int>(key)]; }

void useKeyBindings(const KeyBindings& bindings) {
  bindingsInUse() = bindings;
  const ControlIndex controls[kPlayKeyCount] = {kControlLeft, kControlRight, kControlUp,
                                                kControlDown, kControlJump,  kControlAction};
  for (int i = 0; i < kPlayKeyCount; ++i) controlKey(controls[i]).setKeyCode(bindings.keys[i]);
}

const KeyBindings& keyBindingsInUse() { return bindingsInUse(); }

// The library's names need its keyboard driver, which the settings reader and the tests run
// without.
std::string keyName(int keyCode) {
  if (al_is_keyboard_installed() && keyCode > 0 && keyCode < ALLEGRO_KEY_MAX) return al_keycode_to_name(keyCode);
  return kNumberedKey + std::to_string(keyCode);
}

std::string keyLabel(int keyCode) {
  std::string name = keyName(keyCode);
  if (name.size() == 1) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  return name;
}

int keyCodeOfName(const std::string& name) {
  if (al_is_keyboard_installed()) {
    for (int keyCode = 1; keyCode < ALLEGRO_KEY_MAX; ++keyCode) {
      if (strcasecmp(al_keycode_to_name(keyCode), name.c_str()) == 0) return keyCode;
    }
  }
  const size_t prefix = std::char_traits<char>::length(kNumberedKey);
  if (name.size() <= prefix || name.compare(0, prefix, kNumberedKey) != 0) return 0;
  if (name.find_first_not_of("0123456789", prefix) != std::string::npos || name.size() > prefix + 3) return 0;
  int keyCode = std::atoi(name.c_str() + prefix);
  return keyCode > 0 && keyCode < ALLEGRO_KEY_MAX ? keyCode : 0;
}
