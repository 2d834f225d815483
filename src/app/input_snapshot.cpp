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

void PressLatch::note(const ALLEGRO_EVENT& event) {
  if (event.type == ALLEGRO_EVENT_KEY_DOWN) keys_.push_back(event.keyboard.keycode);
  if (event.type == ALLEGRO_EVENT_MOUSE_BUTTON_DOWN) buttons_.push_back(static_cast<int>(event.mouse.button));
}

// The queue is made at the first poll after the devices are installed (never in the headless
// simulator and the tests, which write their snapshots by hand).
void PressLatch::takeDeviceEvents() {
  bool keyboard = al_is_keyboard_installed();
  bool mouse = al_is_mouse_installed();
  if (!queue_ && (keyboard || mouse)) {
    queue_ = al_create_event_queue();
    if (keyboard) al_register_event_source(queue_, al_get_keyboard_event_source());
    if (mouse) al_register_event_source(queue_, al_get_mouse_event_source());
  }
  if (!queue_) return;
  ALLEGRO_EVENT event;
  while (al_get_next_event(queue_, &event)) note(event);
}

void PressLatch::applyTo(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse) {
  takeDeviceEvents();
  for (int key : keys_) setKeyDown(keyboard, key, true);
  for (int button : buttons_) setMouseButton(mouse, button, true);
  keys_.clear();
  buttons_.clear();
}

PressLatch& pressLatch() {
  // Never destroyed: its queue must not outlive the library, which shuts down at exit.
  static PressLatch* latch = new PressLatch();
  return *latch;
}
