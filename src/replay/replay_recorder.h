#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "replay/replay.h"

// Keeps a run as it is played: one frame per update of the level, as what the avatar read in
// it. Frames in a row with the same step and input share one run.
class ReplayRecorder {
 public:
  ReplayRecorder(std::string campaign, int level, uint64_t levelHash);

  // Keeps one update. A step outside the steps a replay may hold, or a frame past
  // kMaximumReplayFrames, spoils the recording: the run can no longer be kept.
  void add(double dt, const PlayInput& input);

  uint32_t frames() const { return frames_; }
  // The replay of the frames so far, ended with this outcome and elapsed time; none when the
  // recording was spoiled.
  std::optional<Replay> replay(const Outcome& outcome, double elapsed) const;

 private:
  Replay replay_;
  uint32_t frames_ = 0;
  bool spoiled_ = false;
};
