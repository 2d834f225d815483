#include "app/gamepad.h"

#include <cstring>
#include <utility>

#include "app/input_snapshot.h"
#include "app/key_bindings.h"

namespace {

constexpr float kDeadZone = 0.5f;  // of full deflection
// The face buttons in the order the library lists a common pad's: A, B, X, Y.
constexpr int kJumpButton = 0;
constexpr int kActionButton = 1;
constexpr int kRetryButton = 2;
constexpr int kWatchButton = 3;
constexpr size_t kMainStick = 0;

GamepadInput held;

// A pad that names no Start has none: guessing a number could make any button open the options.
int startButton(ALLEGRO_JOYSTICK* pad) {
  int buttons = al_get_joystick_num_buttons(pad);
  for (int i = 0; i < buttons; ++i) {
    const char* name = al_get_joystick_button_name(pad, i);
    if (name && (std::strstr(name, "START") || std::strstr(name, "Start"))) return i;
  }
  return -1;
}

GamepadReading read(ALLEGRO_JOYSTICK* pad) {
  ALLEGRO_JOYSTICK_STATE state;
  al_get_joystick_state(pad, &state);
  GamepadReading reading;
  for (int stick = 0; stick < al_get_joystick_num_sticks(pad) && stick < _AL_MAX_JOYSTICK_STICKS; ++stick) {
    int axes = al_get_joystick_num_axes(pad, stick);
    bool digital = (al_get_joystick_stick_flags(pad, stick) & ALLEGRO_JOYFLAG_DIGITAL) != 0;
    reading.sticks.push_back({digital, axes, state.stick[stick].axis[0], axes > 1 ? state.stick[stick].axis[1] : 0.0f});
  }
  for (int button = 0; button < al_get_joystick_num_buttons(pad) && button < _AL_MAX_JOYSTICK_BUTTONS; ++button) {
    reading.buttons.push_back(state.button[button] != 0);
  }
  reading.startButton = startButton(pad);
  return reading;
}

void press(ALLEGRO_KEYBOARD_STATE& keyboard, PlayKey key, bool down) {
  if (down) setKeyDown(keyboard, keyBindingsInUse()[key], true);
}

bool buttonDown(const GamepadReading& pad, int button) {
  return button >= 0 && static_cast<size_t>(button) < pad.buttons.size() && pad.buttons[button];
}

}  // namespace

GamepadInput gamepadInput(const GamepadReading& pad) {
  GamepadInput input;
  for (size_t index = 0; index < pad.sticks.size(); ++index) {
    const GamepadReading::Stick& stick = pad.sticks[index];
    if (stick.axes < 2 || (index != kMainStick && !stick.digital)) continue;
    input.left = input.left || stick.x < -kDeadZone;
    input.right = input.right || stick.x > kDeadZone;
    input.up = input.up || stick.y < -kDeadZone;
    input.down = input.down || stick.y > kDeadZone;
  }
  input.jump = buttonDown(pad, kJumpButton);
  input.action = buttonDown(pad, kActionButton);
  input.retry = buttonDown(pad, kRetryButton);
  input.watch = buttonDown(pad, kWatchButton);
  input.start = buttonDown(pad, pad.startButton);
  return input;
}

void pressGamepadKeys(const GamepadReading& pad, ALLEGRO_KEYBOARD_STATE& keyboard) {
  held = gamepadInput(pad);
  press(keyboard, PlayKey::Left, held.left);
  press(keyboard, PlayKey::Right, held.right);
  press(keyboard, PlayKey::Up, held.up);
  press(keyboard, PlayKey::Down, held.down);
  press(keyboard, PlayKey::Jump, held.jump);
  press(keyboard, PlayKey::Action, held.action);
}

const GamepadInput& heldOnGamepad() { return held; }

bool pressedByGamepad(int keyCode) {
  const KeyBindings& keys = keyBindingsInUse();
  const std::pair<PlayKey, bool> pressed[] = {{PlayKey::Left, held.left}, {PlayKey::Right, held.right},
                                              {PlayKey::Up, held.up},     {PlayKey::Down, held.down},
                                              {PlayKey::Jump, held.jump}, {PlayKey::Action, held.action}};
  for (const auto& [key, down] : pressed) {
    if (down && keys[key] == keyCode) return true;
  }
  return false;
}

const char* padButtonName(PadButton button) {
  switch (button) {
    case PadButton::A:
      return "A";
    case PadButton::B:
      return "B";
    case PadButton::X:
      return "X";
    case PadButton::Y:
      return "Y";
    case PadButton::Start:
      return "START";
  }
  return "";
}

void addGamepadKeys(ALLEGRO_KEYBOARD_STATE& keyboard) {
  held = GamepadInput();
  if (!al_is_joystick_installed() || al_get_num_joysticks() < 1) return;
  ALLEGRO_JOYSTICK* pad = al_get_joystick(0);
  if (!pad || !al_get_joystick_active(pad)) return;
  pressGamepadKeys(read(pad), keyboard);
}

void GamepadButton::refresh() {
  const bool down[] = {held.jump, held.action, held.retry, held.watch, held.start};
  down_ = down[static_cast<int>(button_)];
  refreshDependents();
}
