#include "app/gamepad.h"

#include <cstring>

#include "app/input_snapshot.h"

namespace {

constexpr float kDeadZone = 0.5f;  // of full deflection
constexpr int kJumpButton = 0;
constexpr int kActionButton = 1;
constexpr int kUsualStartButton = 7;  // where common pads put Start when it has no name

int startButton(ALLEGRO_JOYSTICK* pad) {
  int buttons = al_get_joystick_num_buttons(pad);
  for (int i = 0; i < buttons; ++i) {
    const char* name = al_get_joystick_button_name(pad, i);
    if (name && (std::strstr(name, "START") || std::strstr(name, "Start"))) return i;
  }
  return buttons > kUsualStartButton ? kUsualStartButton : -1;
}

void press(ALLEGRO_KEYBOARD_STATE& keyboard, int keyCode, bool down) {
  if (down) setKeyDown(keyboard, keyCode, true);
}

bool buttonDown(const ALLEGRO_JOYSTICK_STATE& state, int buttons, int button) {
  return button >= 0 && button < buttons && button < _AL_MAX_JOYSTICK_BUTTONS && state.button[button] != 0;
}

}  // namespace

void addGamepadKeys(ALLEGRO_KEYBOARD_STATE& keyboard) {
  if (!al_is_joystick_installed() || al_get_num_joysticks() < 1) return;
  ALLEGRO_JOYSTICK* pad = al_get_joystick(0);
  if (!pad || !al_get_joystick_active(pad)) return;
  ALLEGRO_JOYSTICK_STATE state;
  al_get_joystick_state(pad, &state);
  for (int stick = 0; stick < al_get_joystick_num_sticks(pad) && stick < _AL_MAX_JOYSTICK_STICKS; ++stick) {
    if (al_get_joystick_num_axes(pad, stick) < 2) continue;
    float x = state.stick[stick].axis[0], y = state.stick[stick].axis[1];
    press(keyboard, ALLEGRO_KEY_LEFT, x < -kDeadZone);
    press(keyboard, ALLEGRO_KEY_RIGHT, x > kDeadZone);
    press(keyboard, ALLEGRO_KEY_UP, y < -kDeadZone);
    press(keyboard, ALLEGRO_KEY_DOWN, y > kDeadZone);
  }
  int buttons = al_get_joystick_num_buttons(pad);
  press(keyboard, ALLEGRO_KEY_Z, buttonDown(state, buttons, kJumpButton));
  press(keyboard, ALLEGRO_KEY_X, buttonDown(state, buttons, kActionButton));
  press(keyboard, ALLEGRO_KEY_ESCAPE, buttonDown(state, buttons, startButton(pad)));
}
