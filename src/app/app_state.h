#pragma once

#include <allegro5/allegro.h>

#include "app/current_state.h"
#include "app/frame_clock.h"

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
