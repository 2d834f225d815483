#include "app/gamepad.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "app/input_device.h"
#include "app/input_snapshot.h"
#include "app/key_bindings.h"
#include "unit/test_support.h"

namespace {

using Stick = GamepadReading::Stick;

// The play keys down in the snapshot, as letters: L R U D for the arrows, Z, X, E for Escape,
// and A and S for two keys a player might choose.
std::string keysDown(const ALLEGRO_KEYBOARD_STATE& keyboard) {
  const std::pair<int, char> keys[] = {{ALLEGRO_KEY_LEFT, 'L'},   {ALLEGRO_KEY_RIGHT, 'R'}, {ALLEGRO_KEY_UP, 'U'},
                                       {ALLEGRO_KEY_DOWN, 'D'},   {ALLEGRO_KEY_Z, 'Z'},     {ALLEGRO_KEY_X, 'X'},
                                       {ALLEGRO_KEY_ESCAPE, 'E'}, {ALLEGRO_KEY_A, 'A'},     {ALLEGRO_KEY_S, 'S'}};
  std::string down;
  for (const auto& [code, letter] : keys) {
    if (al_key_down(&keyboard, code)) down += letter;
  }
  return down;
}

// The buttons of a pad of ten, those given down.
std::vector<bool> tenButtons(std::initializer_list<int> down) {
  std::vector<bool> buttons(10, false);
  for (int button : down) buttons[button] = true;
  return buttons;
}

// Start is a control of its own, pressing no key; a pad that names no Start has none.
TEST(Gamepad, ReadingsPressTheKeysOfTheMainStickDPadAndButtons) {
  const Stick centred{false, 2, 0.0f, 0.0f};
  const Stick triggersAtRest{false, 2, -1.0f, -1.0f};  // how a pad's triggers read untouched
  // The pad's sticks, buttons and Start, then the keys down and whether Start is held.
  const std::tuple<const char*, std::vector<Stick>, std::vector<bool>, int, const char*, bool> rows[] = {
      {"nothing touched", {centred, triggersAtRest}, {false, false}, -1, "", false},
      {"main stick left", {{false, 2, -0.9f, 0.1f}}, {}, -1, "L", false},
      {"main stick down and right", {{false, 2, 0.6f, 0.8f}}, {}, -1, "RD", false},
      {"half a deflection is not enough", {{false, 2, -0.5f, 0.5f}}, {}, -1, "", false},
      {"triggers at rest in later sticks move nothing", {centred, triggersAtRest, triggersAtRest}, {}, -1, "", false},
      {"a d-pad after the triggers steers", {centred, triggersAtRest, {true, 2, 0.0f, -1.0f}}, {}, -1, "U", false},
      {"a one-axis stick is no stick", {{false, 1, -1.0f, 0.0f}}, {}, -1, "", false},
      {"face buttons jump and act, Start up", {}, tenButtons({0, 1}), 9, "ZX", false},
      {"X and Y press no key", {}, tenButtons({2, 3}), 9, "", false},
      {"Start held", {}, tenButtons({9}), 9, "", true},
      {"no Start named, button 9 held", {}, tenButtons({9}), -1, "", false},
      {"a Start beyond the buttons read is up", {}, {true}, 7, "Z", false},
  };
  for (const auto& [label, sticks, buttons, start, keys, startHeld] : rows) {
    GamepadReading pad;
    pad.sticks = sticks;
    pad.buttons = buttons;
    pad.startButton = start;
    ALLEGRO_KEYBOARD_STATE keyboard{};
    pressGamepadKeys(pad, keyboard);
    EXPECT_EQ(keysDown(keyboard), keys) << label;
    EXPECT_EQ(gamepadInput(pad).start, startHeld) << label;
  }
}

// Frames one after another, each with what is held in it, and the device prompts name after
// it. Tokens: k a key (Q) held, p the pad's stick held left, j the pad's A held (which presses
// the jump key Z itself), m a mouse click; "." nothing.
TEST(Gamepad, PromptsFollowTheDeviceUsedLast) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"at first the keyboard", ".", "K"},
      {"the pad's stick", ". p", "KP"},
      {"a key after the pad", "p k", "PK"},
      {"the key the pad presses for its A is no key press", "k j . j", "KPPP"},
      {"a click changes nothing", "p m", "PP"},
      {"a key held from before the pad took over", "k kp kp", "KPP"},
      {"a key and the pad in one frame: the keyboard", ". kp", "KK"},
      {"the pad held on is no new press after a key", "p pk p", "PKK"},
  };
  initAllegroForTests();
  TestState state;
  Controls();
  for (const auto& [label, frames, devices] : rows) {
    SCOPED_TRACE(label);
    std::string seen;
    std::string frame;
    for (const char* at = frames;; ++at) {
      if (*at && *at != ' ') {
        frame += *at;
        continue;
      }
      GamepadReading pad;
      pad.sticks = {{false, 2, frame.find('p') != std::string::npos ? -1.0f : 0.0f, 0.0f}};
      pad.buttons = {frame.find('j') != std::string::npos, false};
      state.keyboard = ALLEGRO_KEYBOARD_STATE{};
      setKeyDown(state.keyboard, ALLEGRO_KEY_Q, frame.find('k') != std::string::npos);
      setMouseButton(state.mouse, 1, frame.find('m') != std::string::npos);
      pressGamepadKeys(pad, state.keyboard);
      refreshRootSwitches();
      seen += lastInputDevice() == InputDevice::Gamepad ? 'P' : 'K';
      frame.clear();
      if (!*at) break;
    }
    EXPECT_EQ(seen, devices);
    // Everything let go, then a key: the next row starts on the keyboard.
    for (bool key : {false, true, false}) {
      state.keyboard = ALLEGRO_KEYBOARD_STATE{};
      setKeyDown(state.keyboard, ALLEGRO_KEY_Q, key);
      pressGamepadKeys(GamepadReading(), state.keyboard);
      refreshRootSwitches();
    }
  }
}

// The pad plays by the keys the player chose, not by the arrows and Z and X, and only adds keys:
// one held on the keyboard stays down whatever the pad reads.
TEST(Gamepad, PressesTheChosenKeysBesideTheKeyboards) {
  KeyBindings chosen;
  chosen[PlayKey::Left] = ALLEGRO_KEY_A;
  chosen[PlayKey::Jump] = ALLEGRO_KEY_S;
  useKeyBindings(chosen);
  GamepadReading pad;
  pad.sticks = {{false, 2, -1.0f, 1.0f}};
  pad.buttons = {true, true};
  ALLEGRO_KEYBOARD_STATE keyboard{};
  setKeyDown(keyboard, ALLEGRO_KEY_RIGHT, true);
  pressGamepadKeys(pad, keyboard);
  useKeyBindings(KeyBindings());
  pressGamepadKeys(GamepadReading(), keyboard);  // the pad is let go for the tests that follow
  EXPECT_EQ(keysDown(keyboard), "RDXAS");
}

}  // namespace
