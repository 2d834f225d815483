#include <gtest/gtest.h>

#include <vector>

#include "sim/replay_keys.h"
#include "unit/sim_run.h"

namespace {

class ReplayKeys : public SimRun {
 protected:
  // Plays the inputs one frame each and gives what the avatar read in each frame.
  std::vector<PlayInput> playAndRead(const std::vector<PlayInput>& inputs) {
    std::vector<PlayInput> read;
    PlayInput previous;
    for (const PlayInput& input : inputs) {
      playReplayFrame(*sim, previous, ReplayFrame{kDt, input});
      previous = input;
      read.push_back(gameControlsInput());
    }
    return read;
  }
};

constexpr bool o = false, X = true;

// Each row: frames of (left, right, up, down, jump, action). A press in two frames in a row
// comes from the game only with a pause between them; it must reach the avatar both times.
TEST_F(ReplayKeys, TheAvatarReadsWhatEachFrameRecorded) {
  const std::vector<std::vector<PlayInput>> rows = {
      {{X, o, o, o, o, o}, {o, X, o, o, o, o}, {o, o, X, o, o, o}, {o, o, o, X, o, o}},
      {{o, o, o, o, X, o}, {o, o, o, o, X, o}, {o, o, o, o, X, o}, {o, o, o, o, o, o}},
      {{o, o, o, X, o, X}, {o, o, o, X, o, X}, {o, o, o, o, o, o}, {o, o, o, o, o, X}},
      {{X, o, o, o, X, o}, {X, o, o, o, o, X}, {X, o, o, o, X, X}, {X, o, o, o, X, X}},
  };
  for (size_t row = 0; row < rows.size(); ++row) {
    load(floorLevel());
    std::vector<PlayInput> read = playAndRead(rows[row]);
    for (size_t frame = 0; frame < read.size(); ++frame)
      EXPECT_TRUE(read[frame] == rows[row][frame]) << "row " << row << ", frame " << frame;
  }
}

TEST_F(ReplayKeys, JumpPressedInTwoFramesInARowJumpsTwice) {
  load(floorLevel());
  const PlayInput jump{o, o, o, o, X, o};
  playAndRead({jump, jump});
  EXPECT_EQ(context().jumps, 1.0);
  EXPECT_EQ(context().doubleJumps, 1.0);
  EXPECT_EQ(sim->frames(), 2) << "the key let go in between is no frame of the run";
}

}  // namespace
