#include "replay/replay_frames.h"

#include <utility>

ReplayFrames::ReplayFrames(std::vector<FrameRun> runs) : runs_(std::move(runs)) {}

bool ReplayFrames::next(ReplayFrame& frame) {
  if (exhausted()) return false;
  const FrameRun& run = runs_[run_];
  frame = ReplayFrame{run.dt, run.input};
  ++given_;
  if (++givenOfRun_ >= run.count) {
    ++run_;
    givenOfRun_ = 0;
  }
  return true;
}
