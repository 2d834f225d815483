#pragma once

#include <allegro5/allegro.h>

#include <bitset>
#include <memory>

#include "app/switch.h"
#include "entities/pop_up.h"

// Holds a level still: P or the window losing focus pauses, P or any other key resumes. While
// paused the level is not updated at all, so its clock, its bodies and its theme all stand.
class Pause {
 public:
  Pause();

  // Called at the top of the level's update; true while the level must not advance. A level
  // that cannot be paused now (a menu background, an ended level) only keeps track of keys.
  bool holds(bool pausable);
  void draw() const;
  bool paused() const { return panel_ != nullptr; }

 private:
  bool anyKeyWentDown();
  bool focusWasLost();

  Key pKey_{ALLEGRO_KEY_P};
  OnPress pPressed_{&pKey_};
  std::bitset<ALLEGRO_KEY_MAX> keysDown_;
  int focusLossesSeen_;
  std::unique_ptr<PopUp> panel_;
};
