#pragma once

#include <allegro5/allegro.h>

#include <memory>

#include "app/current_state.h"
#include "app/frame_clock.h"

// Whether a state's loop goes on: it ends at the next check once the state is done by its own
// decision or its window was closed.
enum class RunStatus { Running, Done, Closed };

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
  // Whether the mouse pointer shows over the window while this state runs.
  virtual bool showsMouseCursor() const { return true; }

  void run(AppStateBase* parentState);

  // Drops the events gathered while an inner state ran and restarts the clock, so that the
  // time spent inside is not simulated (steps 2 and 3 of nesting).
  void resumeAfterNested();

  RunStatus status = RunStatus::Running;
  AppStateBase* parent = nullptr;
  std::unique_ptr<FrameClock> clock;
  ALLEGRO_EVENT_QUEUE* queue;
  ALLEGRO_DISPLAY* display;
  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};
};

// Runs `inner` inside `outer`'s update by the nesting protocol: run it with outer as parent,
// drop outer's queued events, restart outer's clock and pass a window close upward. The caller
// owns the inner state and reads what it needs of it afterwards.
void runNested(AppState& outer, AppState& inner);
