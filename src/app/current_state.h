#pragma once

#include <allegro5/allegro.h>

// Everything the game does happens inside an application state. Running a state blocks until
// it is done or its window is closed; a state may run another inside its own update (see
// runNested).
// update advances the state and never draws; draw paints one frame and never changes state.
class AppStateBase {
 public:
  virtual void processEvents() = 0;
  virtual void update(double dt) = 0;
  virtual void draw(ALLEGRO_DISPLAY* display) = 0;
  virtual ALLEGRO_KEYBOARD_STATE* keyboardState() = 0;
  virtual ALLEGRO_MOUSE_STATE* mouseState() = 0;
  virtual ~AppStateBase() = default;
};

// The state whose loop is running; switches and widgets read its snapshots.
AppStateBase* currentState();
void setCurrentState(AppStateBase* state);
