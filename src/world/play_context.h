#pragma once

#include "world/level.h"

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

  Level* grid;
  double garbageCollected = 0.0;
  double elapsedTime = 0.0;
  double jumps = 0.0;
  double doubleJumps = 0.0;
  double throws = 0.0;
  double pixelsTraversed = 0.0;
};

PlayContext* currentPlayContext();
void setCurrentPlayContext(PlayContext* context);
