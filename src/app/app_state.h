#pragma once

#include <allegro5/allegro.h>

#include "app/frame_clock.h"

// Everything the game does happens inside an application state. Running a state blocks until
// its status becomes non-zero; a state may run another inside its own update (see runNested).
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

template <typename Result>
class AppState : public AppStateBase {
 public:
  explicit AppState(ALLEGRO_DISPLAY* display);
  ~AppState() override;
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  void processEvents() override;
  void update(double) override {}
  void draw(ALLEGRO_DISPLAY*) override {}
  ALLEGRO_KEYBOARD_STATE* keyboardState() override { return &keyboard; }
  ALLEGRO_MOUSE_STATE* mouseState() override { return &mouse; }

  virtual void pollInput();
  virtual void handleEvent(const ALLEGRO_EVENT& event);
  virtual bool onCloseRequest() { return true; }

  void run(AppStateBase* parentState);

  // Drops the events gathered while an inner state ran and restarts the clock, so that the
  // time spent inside is not simulated (steps 2 and 3 of nesting).
  void resumeAfterNested();

  Result result{};
  int status = 0;
  AppStateBase* parent = nullptr;
  FrameClock* clock;
  ALLEGRO_EVENT_QUEUE* queue;
  ALLEGRO_DISPLAY* display;
  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};
};

extern template class AppState<int>;

// Runs `inner` inside `outer`'s update by the nesting protocol: run it with outer as parent,
// drop outer's queued events, restart outer's clock, pass a window close upward, then read the
// inner result and destroy the inner state.
int runNested(AppState<int>& outer, AppState<int>* inner);
