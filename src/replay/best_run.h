#pragma once

#include <optional>
#include <string>

#include "replay/replay.h"

// A level's best run to watch or race, or why there is none.
struct BestRun {
  std::optional<Replay> replay;
  std::string problem;  // when there is no replay: a line for the menu's notice
};

// The player's own best run of the level when there is one, else, once the level is completed,
// the one its campaign ships beside the level file. A run that cannot be read, or that was
// recorded on another version of the level file, is refused with the reason.
BestRun findBestRun(const std::string& campaign, int levelIndex, const std::string& levelFile, bool completed);

// The best run the campaign ships for the level (its solution), whether or not the level is
// completed: the hint's way through. Refused with the reason when missing, unreadable or
// recorded on another version of the level file.
BestRun findShippedRun(int levelIndex, const std::string& levelFile);
