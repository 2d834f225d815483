#pragma once

#include <allegro5/allegro.h>

// Writes keyboard and mouse snapshots by hand, for input that does not come from real devices
// (the headless simulator and the tests). The library's al_key_down and al_mouse_button_down
// read back what these write.
void setKeyDown(ALLEGRO_KEYBOARD_STATE& keyboard, int keyCode, bool down);
// Buttons are numbered from 1, as in al_mouse_button_down; 1 is the primary button.
void setMouseButton(ALLEGRO_MOUSE_STATE& mouse, int button, bool down);
void setMousePosition(ALLEGRO_MOUSE_STATE& mouse, int x, int y);
