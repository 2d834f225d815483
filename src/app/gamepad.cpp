#include "app/gamepad.h"

#include <cstring>

#include "app/input_snapshot.h"

namespace {

constexpr float kDeadZone = 0.5f;  // of full deflection
constexpr int kJumpButton = 0;
constexpr int kActionButton = 1;
constexpr int kUsualStartButton = 7;  // where common pads put Start when it has no name
constexpr size_t kMainStick = 0;

int startButton(ALLEGRO_JOYSTICK* pad) {
  int buttons = al_get_joystick_num_buttons(pad);
  for (int i = 0; i < buttons; ++i) {
    const char* name = al_get_joystick_button_name(pad, i);
    if (name && (std::strstr(name, "START") || std::strstr(name, "Start"))) return i;
  }
  return buttons > kUsualStartButton ? kUsualStartButton : -1;
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

void press(ALLEGRO_KEYBOARD_STATE& keyboard, int keyCode, bool down) {
  if (down) setKeyDown(keyboard, keyCode, true);
}

bool buttonDown(const GamepadReading& pad, int button) {
  return button >= 0 && static_cast<size_t>(button) < pad.buttons.size() && pad.buttons[button];
}

}  // namespace

void pressGamepadKeys(const GamepadReading& pad, ALLEGRO_KEYBOARD_STATE& keyboard) {
  for (size_t index = 0; index < pad.sticks.size(); ++index) {
    const GamepadReading::Stick& stick = pad.sticks[index];
    if (stick.axes < 2 || (index != kMainStick && !stick.digital)) continue;
    press(keyboard, ALLEGRO_KEY_LEFT, stick.x < -kDeadZone);
    press(keyboard, ALLEGRO_KEY_RIGHT, stick.x > kDeadZone);
    press(keyboard, ALLEGRO_KEY_UP, stick.y < -kDeadZone);
    press(keyboard, ALLEGRO_KEY_DOWN, stick.y > kDeadZone);
  }
  press(keyboard, ALLEGRO_KEY_Z, buttonDown(pad, kJumpButton));
  press(keyboard, ALLEGRO_KEY_X, buttonDown(pad, kActionButton));
  press(keyboard, ALLEGRO_KEY_ESCAPE, buttonDown(pad, pad.startButton));
}

void addGamepadKeys(ALLEGRO_KEYBOARD_STATE& keyboard) {
  if (!al_is_joystick_installed() || al_get_num_joysticks() < 1) return;
  ALLEGRO_JOYSTICK* pad = al_get_joystick(0);
  if (!pad || !al_get_joystick_active(pad)) return;
  pressGamepadKeys(read(pad), keyboard);
}
