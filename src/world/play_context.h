#pragma once

#include <memory>

#include "world/level.h"

// The player's lasting record as far as a level's entities write to it; the progress record
// implements it. It lives here so that the avatar can count a death without knowing the menus.
class PlayerRecord {
 public:
  virtual void countDeath() = 0;

 protected:
  ~PlayerRecord() = default;
};

// The record of the level being played: its tile grid and the statistics of the report.
// Entities reach it through currentPlayContext(). Each play state owns one and makes it
// current whenever it updates or draws, so a state that ran a nested level finds its own
// context current again afterwards.
class PlayContext {
 public:
  PlayContext();
  ~PlayContext();
  PlayContext(const PlayContext&) = delete;
  PlayContext& operator=(const PlayContext&) = delete;

  std::unique_ptr<Level> grid;
  // Where deaths are counted; null counts nowhere (a level drawn by a tool).
  PlayerRecord* player = nullptr;
  double garbageCollected = 0.0;
  double elapsedTime = 0.0;
  double jumps = 0.0;
  double doubleJumps = 0.0;
  double throws = 0.0;
  double pixelsTraversed = 0.0;
};

PlayContext* currentPlayContext();
void setCurrentPlayContext(PlayContext* context);
