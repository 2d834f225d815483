#include "app/game_window.h"

#include <cmath>

#include "app/frame_clock.h"
#include "app/gamepad.h"

namespace {
GameWindow* theWindow = nullptr;

// The display's refresh rate in hertz, 0 when unknown. Where the library knows it only for a
// full-screen mode of its own (not for a window), it is the fastest that a mode of the
// monitor's size offers within what the clock paces: a guess too fast costs nothing, as the
// flips then pace the frames, but one too slow would rest frames past their refresh.
int refreshRateOf(ALLEGRO_DISPLAY* display) {
  int rate = al_get_display_refresh_rate(display);
  ALLEGRO_MONITOR_INFO monitor;
  if (rate > 0 || !al_get_monitor_info(0, &monitor)) return rate;
  for (int i = 0; i < al_get_num_display_modes(); ++i) {
    ALLEGRO_DISPLAY_MODE mode;
    bool monitorSize = al_get_display_mode(i, &mode) && mode.width == monitor.x2 - monitor.x1 &&
                       mode.height == monitor.y2 - monitor.y1;
    if (monitorSize && mode.refresh_rate > rate &&
        FrameClock::minimumFrameAt(mode.refresh_rate) < FrameClock::kMinimumFrame) {
      rate = mode.refresh_rate;
    }
  }
  return rate;
}
}  // namespace

GameWindow::GameWindow(ALLEGRO_DISPLAY* display, bool fullScreen)
    : display_(display), queue_(al_create_event_queue()), fullScreen_(fullScreen) {
  al_register_event_source(queue_, al_get_display_event_source(display_));
  if (al_is_keyboard_installed()) al_register_event_source(queue_, al_get_keyboard_event_source());
  if (al_is_joystick_installed()) al_register_event_source(queue_, al_get_joystick_event_source());
  refit();
  theWindow = this;
}

GameWindow::~GameWindow() {
  if (theWindow == this) theWindow = nullptr;
  al_destroy_event_queue(queue_);
}

GameWindow* GameWindow::current() { return theWindow; }

void GameWindow::poll(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse) {
  ALLEGRO_EVENT event;
  while (al_get_next_event(queue_, &event)) handle(event);
  windowToPicture(fit_, mouse.x, mouse.y);
  addGamepadKeys(keyboard);
}

double GameWindow::minimumFrame() const {
  if (al_get_display_option(display_, ALLEGRO_VSYNC) != 1) return FrameClock::kMinimumFrame;
  return FrameClock::minimumFrameAt(refreshRateOf(display_));
}

void GameWindow::handle(const ALLEGRO_EVENT& event) {
  switch (event.type) {
    case ALLEGRO_EVENT_DISPLAY_RESIZE:
      al_acknowledge_resize(display_);
      refit();
      break;
    case ALLEGRO_EVENT_DISPLAY_SWITCH_OUT:
      ++focusLosses_;
      break;
    case ALLEGRO_EVENT_KEY_DOWN:
      if (event.keyboard.keycode == ALLEGRO_KEY_F11) toggleFullScreen();
      break;
    case ALLEGRO_EVENT_JOYSTICK_CONFIGURATION:
      al_reconfigure_joysticks();
      break;
    default:
      break;
  }
}

void GameWindow::toggleFullScreen() { setFullScreen(!fullScreen_); }

// Back to a window, the picture's own size is the natural one to come back to.
// From F11 or the options screen: either way the player chose it, so it is remembered.
void GameWindow::setFullScreen(bool fullScreen) {
  fullScreen_ = fullScreen;
  modeSwitched_ = true;
  al_set_display_flag(display_, ALLEGRO_FULLSCREEN_WINDOW, fullScreen_);
  if (!fullScreen_) al_resize_display(display_, kPictureWidth, kPictureHeight);
  refit();
}

void GameWindow::showMouseCursor(bool shown) {
  if (shown == cursorShown_) return;
  cursorShown_ = shown;
  if (shown) {
    al_show_mouse_cursor(display_);
  } else {
    al_hide_mouse_cursor(display_);
  }
}

void GameWindow::setScaling(Scaling scaling) {
  scaling_ = scaling;
  refit();
}

void GameWindow::refit() {
  fit_ = fitPicture(al_get_display_width(display_), al_get_display_height(display_), scaling_);
}

void GameWindow::usePicture() {
  al_reset_clipping_rectangle();
  ALLEGRO_TRANSFORM identity;
  al_identity_transform(&identity);
  al_use_transform(&identity);
  al_clear_to_color(al_map_rgb(0, 0, 0));
  ALLEGRO_TRANSFORM fitted;
  al_identity_transform(&fitted);
  al_scale_transform(&fitted, static_cast<float>(fit_.scale), static_cast<float>(fit_.scale));
  al_translate_transform(&fitted, static_cast<float>(fit_.left), static_cast<float>(fit_.top));
  al_use_transform(&fitted);
  al_set_clipping_rectangle(static_cast<int>(fit_.left), static_cast<int>(fit_.top),
                            static_cast<int>(std::lround(kPictureWidth * fit_.scale)),
                            static_cast<int>(std::lround(kPictureHeight * fit_.scale)));
}

void GameWindow::toBackBuffer(double& left, double& top, double& right, double& bottom) const {
  left = fit_.left + left * fit_.scale;
  top = fit_.top + top * fit_.scale;
  right = fit_.left + right * fit_.scale;
  bottom = fit_.top + bottom * fit_.scale;
}
