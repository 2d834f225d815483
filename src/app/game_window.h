#pragma once

#include <allegro5/allegro.h>

#include "app/display_scale.h"

// The game's one window: keeps the 800 x 600 picture fitted to whatever size the window has,
// switches full screen with F11, counts focus losses (a level pauses on them) and follows
// gamepads being plugged in and out. It watches the window, keyboard and joystick events
// through a queue of its own, so the states' queues and their nesting are left alone.
class GameWindow {
 public:
  GameWindow(ALLEGRO_DISPLAY* display, bool fullScreen);
  ~GameWindow();
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  // The window created by start-up, or null (tools and tests draw without one).
  static GameWindow* current();

  // Once a frame before the states read input: handles the window's events, maps the mouse
  // into picture pixels and adds the gamepad's keys.
  void poll(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse);
  // Before a frame is drawn: black bars, then the picture's transform and clipping.
  void usePicture();
  // A rectangle of the picture as back-buffer pixels, in place.
  void toBackBuffer(double& left, double& top, double& right, double& bottom) const;

  // The states' minimum frame: the refresh period while the display confirms vertical sync,
  // so that one step is simulated and shown per refresh; the clock's own otherwise.
  double minimumFrame() const;

  // Shows or hides the pointer over the window; asks the library only when that changes.
  void showMouseCursor(bool shown);

  // Smooth fits the picture at any scale; whole pixels at the largest whole one.
  void setScaling(Scaling scaling);

  bool fullScreen() const { return fullScreen_; }
  void setFullScreen(bool fullScreen);
  // Whether the player switched the window mode with F11 during this run.
  bool modeSwitched() const { return modeSwitched_; }
  int focusLosses() const { return focusLosses_; }

 private:
  void handle(const ALLEGRO_EVENT& event);
  void toggleFullScreen();
  void refit();

  ALLEGRO_DISPLAY* display_;
  ALLEGRO_EVENT_QUEUE* queue_;
  bool fullScreen_;
  int focusLosses_ = 0;
  bool modeSwitched_ = false;
  bool cursorShown_ = true;
  Scaling scaling_ = Scaling::Smooth;
  PictureFit fit_;
};
