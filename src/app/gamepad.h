#pragma once

#include <allegro5/allegro.h>

// A gamepad plays alongside the keyboard by pressing keys in the keyboard snapshot: any stick
// or d-pad gives the arrows, the first face button Z, the second X, and Start Escape. It only
// ever adds keys, so a key held on the keyboard stays down. Without a gamepad (none plugged,
// one just pulled out, or no joystick support) nothing changes.
void addGamepadKeys(ALLEGRO_KEYBOARD_STATE& keyboard);
