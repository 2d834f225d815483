#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "replay/replay.h"

// Gives a replay's frames one by one, in order, for a level that plays the run again.
class ReplayFrames {
 public:
  explicit ReplayFrames(std::vector<FrameRun> runs);

  // The next frame; false, and the frame left alone, once every frame has been given.
  bool next(ReplayFrame& frame);
  bool exhausted() const { return run_ == runs_.size(); }
  // Frames given so far.
  uint32_t given() const { return given_; }

 private:
  std::vector<FrameRun> runs_;
  size_t run_ = 0;
  uint32_t givenOfRun_ = 0;
  uint32_t given_ = 0;
};
