#pragma once

#include <allegro5/allegro.h>

#include <vector>

// A gamepad plays alongside the keyboard by pressing keys in the keyboard snapshot: the main
// stick or a d-pad gives the arrows, the first face button Z, the second X, and Start Escape. It
// only ever adds keys, so a key held on the keyboard stays down. Without a gamepad (none plugged,
// one just pulled out, or no joystick support) nothing changes.
void addGamepadKeys(ALLEGRO_KEYBOARD_STATE& keyboard);

// One reading of a pad, in the library's terms: its sticks in order (a d-pad is a stick the
// library marks digital) and its buttons, with the number of its Start button (-1: none).
struct GamepadReading {
  struct Stick {
    bool digital;
    int axes;
    float x;  // -1 full left .. 1 full right
    float y;  // -1 full up .. 1 full down
  };
  std::vector<Stick> sticks;
  std::vector<bool> buttons;
  int startButton = -1;
};

// The keys a reading presses. Only the first stick and the digital ones steer: the library
// makes sticks of a pad's other axes too, and a trigger at rest reads as a full deflection.
void pressGamepadKeys(const GamepadReading& pad, ALLEGRO_KEYBOARD_STATE& keyboard);
