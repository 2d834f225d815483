#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "replay/replay.h"
#include "replay/replay_recorder.h"

// What helped a run: with any assist it is never a level's best run; with invincibility it is
// not kept at all, since without it the same input would end otherwise (the replay format has
// no room to say so).
enum class RunHelp { None, Assisted, Invincible };

// Keeps the runs of a numbered level in the player directory: each update the player plays is
// recorded, and when the run ends it is kept as the level's last run, and as its best run when it
// completed the level faster than the stored one.
class RunKeeper {
 public:
  RunKeeper(const std::string& campaign, int level, uint64_t levelHash);

  void record(double dt, const PlayInput& input);
  // The first call keeps the run and gives a line for each file it could not write; later calls
  // change nothing.
  std::vector<std::string> end(const Outcome& outcome, double elapsed, RunHelp help = RunHelp::None);
  // The ended run; null before the end, or when the run was too long or helped by invincibility.
  const Replay* run() const { return run_ ? &*run_ : nullptr; }

 private:
  ReplayRecorder recorder_;
  std::optional<Replay> run_;
  bool ended_ = false;
};
