#include "app/gamepad.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/input_snapshot.h"

namespace {

using Stick = GamepadReading::Stick;

// The play keys down in the snapshot, as letters: L R U D for the arrows, Z, X, E for Escape.
std::string keysDown(const ALLEGRO_KEYBOARD_STATE& keyboard) {
  const std::pair<int, char> keys[] = {{ALLEGRO_KEY_LEFT, 'L'},  {ALLEGRO_KEY_RIGHT, 'R'}, {ALLEGRO_KEY_UP, 'U'},
                                       {ALLEGRO_KEY_DOWN, 'D'},  {ALLEGRO_KEY_Z, 'Z'},     {ALLEGRO_KEY_X, 'X'},
                                       {ALLEGRO_KEY_ESCAPE, 'E'}};
  std::string down;
  for (const auto& [code, letter] : keys) {
    if (al_key_down(&keyboard, code)) down += letter;
  }
  return down;
}

TEST(Gamepad, ReadingsPressTheKeysOfTheMainStickDPadAndButtons) {
  const Stick centred{false, 2, 0.0f, 0.0f};
  const Stick triggersAtRest{false, 2, -1.0f, -1.0f};  // how a pad's triggers read untouched
  // The pad's sticks, buttons and Start, then the keys down.
  const std::tuple<const char*, std::vector<Stick>, std::vector<bool>, int, const char*> rows[] = {
      {"nothing touched", {centred, triggersAtRest}, {false, false}, -1, ""},
      {"main stick left", {{false, 2, -0.9f, 0.1f}}, {}, -1, "L"},
      {"main stick down and right", {{false, 2, 0.6f, 0.8f}}, {}, -1, "RD"},
      {"half a deflection is not enough", {{false, 2, -0.5f, 0.5f}}, {}, -1, ""},
      {"triggers at rest in later sticks move nothing", {centred, triggersAtRest, triggersAtRest}, {}, -1, ""},
      {"a d-pad after the triggers steers", {centred, triggersAtRest, {true, 2, 0.0f, -1.0f}}, {}, -1, "U"},
      {"a one-axis stick is no stick", {{false, 1, -1.0f, 0.0f}}, {}, -1, ""},
      {"first face button jumps", {}, {true, false}, -1, "Z"},
      {"second face button acts", {}, {false, true}, -1, "X"},
      {"Start leaves", {}, {false, false, false, false, false, false, false, false, false, true}, 9, "E"},
      {"a pad without Start never leaves", {}, {false, false, false, false, false, false, false, true}, -1, ""},
      {"a Start beyond the buttons read is up", {}, {true}, 7, "Z"},
  };
  for (const auto& [label, sticks, buttons, start, keys] : rows) {
    GamepadReading pad;
    pad.sticks = sticks;
    pad.buttons = buttons;
    pad.startButton = start;
    ALLEGRO_KEYBOARD_STATE keyboard{};
    pressGamepadKeys(pad, keyboard);
    EXPECT_EQ(keysDown(keyboard), keys) << label;
  }
}

// The pad only adds keys: one held on the keyboard stays down whatever the pad reads.
TEST(Gamepad, KeysHeldOnTheKeyboardStayDown) {
  ALLEGRO_KEYBOARD_STATE keyboard{};
  setKeyDown(keyboard, ALLEGRO_KEY_LEFT, true);
  GamepadReading pad;
  pad.sticks = {{false, 2, 1.0f, 0.0f}};
  pressGamepadKeys(pad, keyboard);
  EXPECT_EQ(keysDown(keyboard), "LR");
}

}  // namespace
