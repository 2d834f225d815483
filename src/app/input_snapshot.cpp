#include "app/input_snapshot.h"

namespace {
constexpr int kBitsPerWord = 32;
}

// The keyboard state keeps one bit per key code in an array of 32-bit words; the library's
// al_key_down reads bit (code % 32) of word (code / 32), and nothing else offers to set it.
void setKeyDown(ALLEGRO_KEYBOARD_STATE& keyboard, int keyCode, bool down) {
  if (keyCode <= 0 || keyCode >= ALLEGRO_KEY_MAX) return;
  unsigned int& word = keyboard.__key_down__internal__[keyCode / kBitsPerWord];
  unsigned int bit = 1u << (keyCode % kBitsPerWord);
  word = down ? (word | bit) : (word & ~bit);
}

void setMouseButton(ALLEGRO_MOUSE_STATE& mouse, int button, bool down) {
  if (button < 1 || button > kBitsPerWord) return;
  unsigned int buttons = static_cast<unsigned int>(mouse.buttons);
  unsigned int bit = 1u << (button - 1);
  mouse.buttons = static_cast<int>(down ? (buttons | bit) : (buttons & ~bit));
}

void setMousePosition(ALLEGRO_MOUSE_STATE& mouse, int x, int y) {
  mouse.x = x;
  mouse.y = y;
}
