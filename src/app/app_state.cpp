#include "app/app_state.h"

#include "app/blend.h"
#include "app/game_window.h"
#include "app/input_snapshot.h"
#include "app/switch.h"

AppState::AppState(ALLEGRO_DISPLAY* display_)
    : clock(std::make_unique<FrameClock>()), queue(al_create_event_queue()), display(display_) {
  // Keyboard and mouse are polled, not queued; only the window's events come through here.
  if (display) al_register_event_source(queue, al_get_display_event_source(display));
}

AppState::~AppState() { al_destroy_event_queue(queue); }

void AppState::processEvents() {
  ALLEGRO_EVENT event;
  while (al_get_next_event(queue, &event)) handleEvent(event);
}

void AppState::handleEvent(const ALLEGRO_EVENT& event) {
  if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE && onCloseRequest()) status = RunStatus::Closed;
}

void AppState::pollInput() {
  if (al_is_keyboard_installed()) al_get_keyboard_state(&keyboard);
  if (al_is_mouse_installed()) al_get_mouse_state(&mouse);
  pressLatch().applyTo(keyboard, mouse);
  if (GameWindow* window = GameWindow::current()) window->poll(keyboard, mouse);
  refreshRootSwitches();
}

void AppState::run(AppStateBase* parentState) {
  parent = parentState;
  status = RunStatus::Running;
  setCurrentState(this);
  clock->start();
  while (status == RunStatus::Running) {
    processEvents();
    pollInput();
    FrameStep step = clock->tick();
    if (step.dt > 0) update(step.dt);
    if (status != RunStatus::Running) break;
    if (GameWindow* window = GameWindow::current()) window->showMouseCursor(showsMouseCursor());
    if (!step.skipDraw) {
      al_set_target_backbuffer(display);
      al_clear_to_color(al_map_rgb(0, 0, 0));
      if (GameWindow* window = GameWindow::current()) window->usePicture();
      beginFrame();
      draw(display);
      endFrame();
      al_flip_display();
    }
  }
  clock->stop();
  setCurrentState(parent);
}

void AppState::resumeAfterNested() {
  ALLEGRO_EVENT event;
  while (al_get_next_event(queue, &event)) {
  }
  clock->start();
}

void runNested(AppState& outer, AppState& inner) {
  inner.run(&outer);
  outer.resumeAfterNested();
  if (inner.status == RunStatus::Closed && outer.onCloseRequest()) outer.status = RunStatus::Closed;
}
