#include "replay/replay_recorder.h"

#include <utility>

ReplayRecorder::ReplayRecorder(std::string campaign, int level, uint64_t levelHash) {
  replay_.campaign = std::move(campaign);
  replay_.level = level;
  replay_.levelHash = levelHash;
}

void ReplayRecorder::add(double dt, const PlayInput& input) {
  if (spoiled_) return;
  if (!(dt >= kShortestReplayStep && dt <= kLongestReplayStep) || frames_ == kMaximumReplayFrames) {
    spoiled_ = true;
    return;
  }
  ++frames_;
  std::vector<FrameRun>& runs = replay_.runs;
  if (!runs.empty() && runs.back().dt == dt && runs.back().input == input) {
    ++runs.back().count;
  } else {
    runs.push_back(FrameRun{dt, input, 1});
  }
}

std::optional<Replay> ReplayRecorder::replay(const Outcome& outcome, double elapsed) const {
  if (spoiled_) return std::nullopt;
  Replay finished = replay_;
  finished.outcome = outcome;
  finished.elapsed = elapsed;
  return finished;
}
