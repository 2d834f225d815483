#pragma once

#include <memory>

#include "app/switch.h"
#include "world/channel_states.h"
#include "world/level.h"

class Theme;

// The player's lasting record as far as a level's entities write to it; the progress record
// implements it. It lives here so that the avatar can count a death without knowing the menus.
class PlayerRecord {
 public:
  virtual void countDeath() = 0;

 protected:
  ~PlayerRecord() = default;
};

// The six switches the avatar plays by. A level reads the game's Controls table unless it is
// given switches of its own (a recorded run played back, say).
struct PlayControls {
  const Switch* left;
  const Switch* right;
  const Switch* up;
  const Switch* down;
  const Switch* jump;    // on-press
  const Switch* action;  // on-press: pick up, put down, throw

  static PlayControls game();
};

// Everything that belongs to one level being played and to nothing else: its tile grid, the
// states of its switch channels, the theme it is drawn in, the controls its avatar reads, where
// its deaths are counted and the statistics of its report. Its entities reach it through their
// world (Entity::playContext), so two levels alive at once share none of it.
class PlayContext {
 public:
  PlayContext();
  PlayContext(const PlayContext&) = delete;
  PlayContext& operator=(const PlayContext&) = delete;

  ChannelStates channelStates = kAllChannelsOn;
  std::unique_ptr<Level> grid;
  Theme* theme = nullptr;  // a play state always gives one
  PlayControls controls = PlayControls::game();
  // Where deaths are counted; null counts nowhere (a level drawn by a tool, a level played for
  // show).
  PlayerRecord* player = nullptr;
  // The invincibility assist: spikes, force fields, feral baddies and crushing walls spare the
  // avatar; a fall still kills.
  bool invincible = false;
  double garbageCollected = 0.0;
  double elapsedTime = 0.0;
  double jumps = 0.0;
  double doubleJumps = 0.0;
  double throws = 0.0;
  double pixelsTraversed = 0.0;
};
