#pragma once

#include "app/switch.h"
#include "replay/replay.h"
#include "world/play_context.h"

// The six play controls of a level that plays a replay (watched, or run beside the player as a
// ghost) in place of the keyboard: each answers what the frame shown to it says. They are not
// root switches, so the game's refresh of the keyboard never touches them.
class ReplaySwitches {
 public:
  // The input of the frame about to be updated.
  void show(const PlayInput& input);

  const Switch* left() const { return &left_; }
  const Switch* right() const { return &right_; }
  const Switch* up() const { return &up_; }
  const Switch* down() const { return &down_; }
  const Switch* jump() const { return &jump_; }
  const Switch* action() const { return &action_; }
  // For the level's context: its avatar reads these.
  PlayControls controls() const;

 private:
  SetSwitch left_, right_, up_, down_, jump_, action_;
};

// What the avatar reads from these controls in the update about to run.
PlayInput readInput(const PlayControls& controls);
