// The avatar's deaths by wall and by falling, which no shipped level's solution shows (the
// solutions' traces, hashed by tests/sim/level_solutions.sh, hold every other movement rule),
// worked out from the rules at dt = 1/64 s: gravity 600 * dt = 9.375 px/s per frame. States:
// 0 standing, 1 walking, 2 in the air, 3 crouching.

#include "entities/avatar.h"

#include <gtest/gtest.h>

#include <tuple>

#include "unit/sim_run.h"
#include "world/channel_states.h"

namespace {

class AvatarMovement : public SimRun {};

// A tile at column 6 (x 120 to 140) next to the avatar standing on the floor: the right-middle
// point x + 19 lies 12 px inside it at x = 113. The ceiling point finds it 18 px deep.
TEST_F(AvatarMovement, PushOutsUpTo12PixelsDeeperCrushes) {
  const std::tuple<const char*, double, double, const char*> rows[] = {
      {"wall depth 12 is pushed out", 113.0, 540.0, "av 101 540 0 0 0 0 0"},
      {"wall depth 12.5 crushes and is not pushed", 113.5, 540.0, "av 113.5 540 0 0 0 1 0"},
      {"floor depth 1 is ignored", 60.0, 541.0, "av 60 541 0 0 0 0 0"},
      {"floor depth 1.5 is pushed out", 60.0, 541.5, "av 60 540 0 0 0 0 0"},
  };
  for (const auto& [label, x, y, line] : rows) {
    SCOPED_TRACE(label);
    load(gridLevel({{27, ".....A1"}, {28, std::string(40, '0')}}));
    int deathsBefore = progress().deaths;
    avatar().setPosition(x, y);
    frames(1);
    EXPECT_EQ(avatarLine(), line);
    bool crushed = avatar().outcome().status == Outcome::Dead;
    EXPECT_EQ(progress().deaths - deathsBefore, crushed ? 1 : 0) << "one death although both resolutions crush";
    EXPECT_EQ(avatar().outcome().reason, crushed ? "were crushed by a hunk of wall" : "");
  }
}

// Falling from (400, 0) with nothing below: vy grows by 9.375 per frame up to 400 (frame 43),
// so y = 0.0732421875 n (n + 1) for n <= 42 (132.275390625), then 6.25 px per frame:
// 601.025390625 after frame 117. Frame 118 dies at its start, after counting its time.
TEST_F(AvatarMovement, FallingBelow600DiesAndTheClockStops) {
  load(gridLevel({{0, "....................A"}}));
  frames(42);
  EXPECT_EQ(avatarLine(), "av 400 132.275390625 2 0 393.75 0 0");
  frames(1);
  EXPECT_EQ(avatar().vy, 400.0) << "fall speed limit";
  frames(75);
  EXPECT_EQ(avatarLine(), "av 400 601.025390625 2 0 400 1 0") << "the update ends before moving";
  EXPECT_EQ(avatar().outcome().reason, "fell of the face of the world");
  EXPECT_EQ(context().elapsedTime, 118.0 / 64);
  frames(10);
  EXPECT_EQ(context().elapsedTime, 118.0 / 64) << "time stops at the outcome";
  EXPECT_EQ(progress().deaths, 1);

  load(gridLevel({{0, "....................A"}}));
  avatar().setPosition(400, 600);
  avatar().state = Avatar::InAir;
  frames(1);
  EXPECT_EQ(avatar().outcome().status, Outcome::Playing) << "y = 600 exactly is still alive";
  frames(1);
  EXPECT_EQ(avatar().outcome().status, Outcome::Dead);
}

}  // namespace
