#pragma once

#include <allegro5/allegro.h>

#include <vector>

#include "app/switch.h"

// A gamepad plays alongside the keyboard by pressing the play keys in the keyboard snapshot,
// whichever keys the player chose for them: the main stick or a d-pad gives left, right, up and
// down, the first face button (A) jump, the second (B) action. Start, X and Y press no key: each
// is a control of its own (kControlStart, kControlPadX, kControlPadY), and so are A and B where
// panels read them, so that no pad button ever quits the game. The pad only ever adds keys, so a
// key held on the keyboard stays down. Without a gamepad (none plugged, one just pulled out, or
// no joystick support) nothing changes.
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

// What a pad holds, in the game's terms: A jumps and takes a panel's first choice, B acts and
// goes back, X retries, Y watches a run.
struct GamepadInput {
  bool left = false, right = false, up = false, down = false;
  bool jump = false, action = false, retry = false, watch = false, start = false;
  bool any() const { return left || right || up || down || jump || action || retry || watch || start; }
};

// The pad's buttons as the player sees them printed.
enum class PadButton { A, B, X, Y, Start };
const char* padButtonName(PadButton button);

// Only the first stick and the digital ones steer: the library makes sticks of a pad's other
// axes too, and a trigger at rest reads as a full deflection.
GamepadInput gamepadInput(const GamepadReading& pad);
// Presses the play keys in use for what the reading holds, and keeps it for heldOnGamepad.
void pressGamepadKeys(const GamepadReading& pad, ALLEGRO_KEYBOARD_STATE& keyboard);
// What the pad held at the last poll (nothing without a pad); the menu steers by it.
const GamepadInput& heldOnGamepad();
// Whether the pad pressed this key in the snapshot at the last poll.
bool pressedByGamepad(int keyCode);

// One of the pad's buttons held down.
class GamepadButton : public Switch {
 public:
  explicit GamepadButton(PadButton button) : Switch(true), button_(button) {}
  bool isDown() const override { return down_; }
  void refresh() override;

 private:
  PadButton button_;
  bool down_ = false;
};
