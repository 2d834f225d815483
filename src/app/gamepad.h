#pragma once

#include <allegro5/allegro.h>

#include <vector>

#include "app/switch.h"

// A gamepad plays alongside the keyboard by pressing the play keys in the keyboard snapshot,
// whichever keys the player chose for them: the main stick or a d-pad gives left, right, up and
// down, the first face button jump, the second action. Start presses no key: it is a control of
// its own (kControlStart), so that no pad button ever quits the game. The pad only ever adds
// keys, so a key held on the keyboard stays down. Without a gamepad (none plugged, one just
// pulled out, or no joystick support) nothing changes.
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

// What a pad holds, in the game's terms.
struct GamepadInput {
  bool left = false, right = false, up = false, down = false;
  bool jump = false, action = false, start = false;
};

// Only the first stick and the digital ones steer: the library makes sticks of a pad's other
// axes too, and a trigger at rest reads as a full deflection.
GamepadInput gamepadInput(const GamepadReading& pad);
// Presses the play keys in use for what the reading holds, and keeps it for heldOnGamepad.
void pressGamepadKeys(const GamepadReading& pad, ALLEGRO_KEYBOARD_STATE& keyboard);
// What the pad held at the last poll (nothing without a pad); the menu steers by it.
const GamepadInput& heldOnGamepad();

// The pad's Start held down.
class GamepadStartButton : public Switch {
 public:
  GamepadStartButton() : Switch(true) {}
  bool isDown() const override { return down_; }
  void refresh() override;

 private:
  bool down_ = false;
};
