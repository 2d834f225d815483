#include "states/pause.h"

#include "app/app_state.h"
#include "app/game_window.h"

namespace {
int focusLosses() {
  GameWindow* window = GameWindow::current();
  return window ? window->focusLosses() : 0;
}
}  // namespace

// Keys already held when the level starts (the P that started the editor's test play) are read
// now, so that they are no press in its first frame.
Pause::Pause() : focusLossesSeen_(focusLosses()) {
  pKey_.refresh();
  anyKeyWentDown();
}

bool Pause::holds(bool pausable) {
  bool keyWentDown = anyKeyWentDown();
  bool focusLost = focusWasLost();
  if (paused()) {
    if (keyWentDown) panel_.reset();
    return true;
  }
  if (!pausable || !(pPressed_.isDown() || focusLost)) return false;
  panel_ = std::make_unique<PopUp>();
  panel_->addLine("Paused", " ");
  panel_->addLine("", "");
  panel_->addLine("P or any key - resume", "");
  panel_->visible = true;
  return true;
}

// F11 switches the window mode and is no answer to the pause.
bool Pause::anyKeyWentDown() {
  AppStateBase* state = currentState();
  if (!state) return false;
  bool wentDown = false;
  for (int key = 1; key < ALLEGRO_KEY_MAX; ++key) {
    bool down = al_key_down(state->keyboardState(), key);
    if (down && !keysDown_[key] && key != ALLEGRO_KEY_F11) wentDown = true;
    keysDown_[key] = down;
  }
  return wentDown;
}

bool Pause::focusWasLost() {
  int losses = focusLosses();
  bool lost = losses != focusLossesSeen_;
  focusLossesSeen_ = losses;
  return lost;
}

void Pause::draw() const {
  if (panel_) panel_->draw();
}
