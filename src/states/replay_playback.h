#pragma once

#include <allegro5/allegro.h>

#include "app/switch.h"
#include "replay/replay.h"
#include "replay/replay_frames.h"
#include "replay/replay_switches.h"
#include "world/play_context.h"

// A watched replay's frames, handed to its level in order: 1 plays one frame per update, 2 two.
class ReplayPlayback {
 public:
  explicit ReplayPlayback(const Replay& replay);

  // The switches the level's avatar reads in place of the keyboard.
  PlayControls controls() const { return switches_.controls(); }
  // Shows the next frame's input to the switches and gives its step; false once every frame
  // has been played.
  bool next(double& dt);
  // Frames to play in this update, as the speed keys last chose.
  int framesPerUpdate();
  int speed() const { return speed_; }

 private:
  ReplayFrames frames_;
  ReplaySwitches switches_;
  Key normalSpeed_{ALLEGRO_KEY_1};
  Key doubleSpeed_{ALLEGRO_KEY_2};
  int speed_ = 1;
};
