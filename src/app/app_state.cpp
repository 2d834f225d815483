#include "app/app_state.h"

#include "app/blend.h"
#include "app/game_window.h"
#include "app/input_snapshot.h"
#include "app/switch.h"

template <typename Result>
AppState<Result>::AppState(ALLEGRO_DISPLAY* display_)
    : clock(new FrameClock()), queue(al_create_event_queue()), display(display_) {
  // Keyboard and mouse are polled, not queued; only the window's events come through here.
  if (display) al_register_event_source(queue, al_get_display_event_source(display));
}

template <typename Result>
AppState<Result>::~AppState() {
  al_destroy_event_queue(queue);
  delete clock;
}

template <typename Result>
void AppState<Result>::processEvents() {
  ALLEGRO_EVENT event;
  while (al_get_next_event(queue, &event)) handleEvent(event);
}

template <typename Result>
void AppState<Result>::handleEvent(const ALLEGRO_EVENT& event) {
  if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE && onCloseRequest()) status = 2;
}

template <typename Result>
void AppState<Result>::pollInput() {
  if (al_is_keyboard_installed()) al_get_keyboard_state(&keyboard);
  if (al_is_mouse_installed()) al_get_mouse_state(&mouse);
  pressLatch().applyTo(keyboard, mouse);
  if (GameWindow* window = GameWindow::current()) window->poll(keyboard, mouse);
  refreshRootSwitches();
}

template <typename Result>
void AppState<Result>::run(AppStateBase* parentState) {
  parent = parentState;
  status = 0;
  setCurrentState(this);
  clock->start();
  while (status == 0) {
    processEvents();
    pollInput();
    FrameStep step = clock->tick();
    if (step.dt > 0) update(step.dt);
    if (status != 0) break;
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

template <typename Result>
void AppState<Result>::resumeAfterNested() {
  ALLEGRO_EVENT event;
  while (al_get_next_event(queue, &event)) {
  }
  clock->start();
}

template class AppState<int>;

int runNested(AppState<int>& outer, AppState<int>* inner) {
  inner->run(&outer);
  outer.resumeAfterNested();
  if (inner->status == 2 && outer.onCloseRequest()) outer.status = 2;
  int innerResult = inner->result;
  delete inner;
  return innerResult;
}
