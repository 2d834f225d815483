#pragma once

#include <allegro5/allegro.h>

#include <vector>

// Writes keyboard and mouse snapshots by hand, for input that does not come from real devices
// (the headless simulator and the tests). The library's al_key_down and al_mouse_button_down
// read back what these write.
void setKeyDown(ALLEGRO_KEYBOARD_STATE& keyboard, int keyCode, bool down);
// Buttons are numbered from 1, as in al_mouse_button_down; 1 is the primary button.
void setMouseButton(ALLEGRO_MOUSE_STATE& mouse, int button, bool down);
void setMousePosition(ALLEGRO_MOUSE_STATE& mouse, int x, int y);

// Keys and mouse buttons that went down since the last poll. Snapshots are taken once a frame,
// so a press and release between two of them would be missed; marking the noted ones down in
// the next snapshot lets such a press read as down for that one frame (and fire its OnPress).
// A held key is down in the snapshot anyway. The devices' events come through a queue of the
// latch's own, emptied at every poll, so no state's queue ever collects them.
class PressLatch {
 public:
  void note(const ALLEGRO_EVENT& event);
  // Notes the device events since the last call, marks every key and button noted down in the
  // snapshots, then forgets them.
  void applyTo(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse);

 private:
  void takeDeviceEvents();

  ALLEGRO_EVENT_QUEUE* queue_ = nullptr;
  std::vector<int> keys_;
  std::vector<int> buttons_;
};

// The process's latch, read by every state's poll; it lives as long as the library.
PressLatch& pressLatch();
