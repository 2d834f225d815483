// Avatar movement through the game's play state, with expectations worked out from the rules at
// dt = 1/64 s: walking 200 * dt = 3.125 px, air control 1200 * dt = 18.75 px/s and gravity
// 600 * dt = 9.375 px/s per frame. States: 0 standing, 1 walking, 2 in the air, 3 crouching.

#include "entities/avatar.h"

#include <gtest/gtest.h>

#include <tuple>

#include "entities/carryable.h"
#include "unit/sim_run.h"
#include "world/channel_states.h"

namespace {

class AvatarMovement : public SimRun {};

TEST_F(AvatarMovement, WalksAt200PixelsPerSecondAndCountsThem) {
  load(floorLevel());
  frames(64, "R");
  EXPECT_EQ(avatarLine(), "av 300 540 1 0 0 0 0") << "one second to the right, x moved directly";
  EXPECT_TRUE(avatar().facingRight);
  EXPECT_EQ(context().pixelsTraversed, 200.0);
  EXPECT_EQ(avatar().walkFrame, 2) << "8 animation ticks in a second: 8 mod 6";
  frames(32, "L");
  EXPECT_EQ(avatarLine(), "av 200 540 1 0 0 0 0");
  EXPECT_FALSE(avatar().facingRight);
  EXPECT_EQ(context().pixelsTraversed, 300.0) << "distance, not displacement";
  frames(1, "LR");
  EXPECT_EQ(avatarLine(), "av 200 540 0 0 0 0 0") << "both held stops the walk";
  frames(1, "LR");
  EXPECT_EQ(avatarLine(), "av 200 540 0 0 0 0 0") << "both held does not start one";
  EXPECT_EQ(context().elapsedTime, 98.0 / 64);
}

// After n frames in the air y = 540 + (-270 n + 9.375 n (n + 1) / 2) / 64: n = 56 is still
// 2.4609375 px above the floor, n = 57 sinks 1.669921875 px into it and lands.
TEST_F(AvatarMovement, JumpFromStandingRisesAndLandsOnlyOnTheWayDown) {
  load(floorLevel());
  frames(1, "Z");
  EXPECT_EQ(avatarLine(), "av 100 540 2 0 -270 0 0") << "the jump frame does not move yet";
  frames(1);
  EXPECT_EQ(avatarLine(), "av 100 535.927734375 2 0 -260.625 0 0");
  frames(55);
  EXPECT_EQ(avatarLine(), "av 100 537.5390625 2 0 255 0 0");
  frames(1);
  EXPECT_EQ(avatarLine(), "av 100 540 0 0 264.375 0 0") << "landing leaves the speed as it stands";
  EXPECT_EQ(context().jumps, 1.0);
}

TEST_F(AvatarMovement, JumpFromWalkingAndAirControlUpTo200) {
  for (double sign : {1.0, -1.0}) {
    SCOPED_TRACE(sign > 0 ? "right" : "left");
    const std::string keys = sign > 0 ? "R" : "L";
    load(floorLevel());
    const double dt = 1.0 / 48;  // air control adds 1200 / 48 = 25 px/s per frame
    frames(1, keys, dt);
    frames(1, keys + "Z", dt);
    EXPECT_EQ(avatar().vx, sign * 150.0);
    EXPECT_EQ(avatar().vy, -270.0);
    frames(1, keys, dt);
    EXPECT_DOUBLE_EQ(avatar().vx, sign * 175.0);
    frames(1, keys, dt);
    EXPECT_DOUBLE_EQ(avatar().vx, sign * 200.0) << "the limit after 1/24 s";
    frames(1, keys, dt);
    EXPECT_EQ(avatar().vx, sign * 200.0) << "clamped";
    frames(1, "LR", dt);
    EXPECT_EQ(avatar().vx, sign * 200.0) << "both keys, no change and no friction";
  }
}

TEST_F(AvatarMovement, OneDoubleJumpPerAirbornePeriodRestoredByStandingNotByLanding) {
  load(floorLevel());
  frames(1, "Z");
  frames(3);
  frames(1, "Z");
  EXPECT_EQ(avatar().vy, -162.0) << "0.6 of the jump speed, after gravity";
  EXPECT_EQ(context().doubleJumps, 1.0);
  frames(3);
  frames(1, "Z");
  EXPECT_EQ(avatar().vy, -162.0 + 4 * 9.375) << "a second one is refused";
  EXPECT_EQ(context().doubleJumps, 1.0);
  for (int frame = 0; frame < 200 && avatar().state == Avatar::InAir; ++frame) frames(1);
  ASSERT_EQ(avatar().state, Avatar::Standing);
  EXPECT_FALSE(avatar().canDoubleJump) << "the landing frame alone does not restore it";
  frames(1);
  EXPECT_TRUE(avatar().canDoubleJump);
  EXPECT_EQ(context().jumps, 1.0);
}

TEST_F(AvatarMovement, CarryingJumpsAreWeaker) {
  load(floorLevel("gb 5 27\n"));
  frames(1, "D");
  frames(1, "DX");
  ASSERT_NE(avatar().carried, nullptr) << "picked up while crouching";
  EXPECT_EQ(avatar().carried->y(), 540.0 - 15) << "held lower while crouching";
  frames(1);
  EXPECT_EQ(avatar().carried->y(), 540.0 - 20);
  frames(1, "Z");
  EXPECT_EQ(avatar().vy, -100.0);
  frames(1);
  frames(1, "Z");
  EXPECT_EQ(avatar().vy, -60.0) << "0.6 of the carrying jump";
  EXPECT_EQ(avatar().carried->position(), std::make_pair(avatar().x(), avatar().y() - 20));
}

// A platform from x = 200 to 400; the ground check looks at x + 10. Walking right,
// 300 + 3.125 * 29 = 390.625 is past x = 390; left, 300 - 3.125 * 36 = 187.5 < 190. The falling
// frame then moves by the ledge speed: 30 / 64 px, and gravity makes vy 9.375.
TEST_F(AvatarMovement, WalkingOffALedgeKeeps30PixelsPerSecondLosingTheGroundStandingNone) {
  const std::string platform = gridLevel({{27, "...............A"}, {28, "..........1111111111"}});
  const std::tuple<const char*, int, const char*> rows[] = {{"R", 29, "av 391.09375 540.146484375 2 30 9.375 0 0"},
                                                            {"L", 36, "av 187.03125 540.146484375 2 -30 9.375 0 0"}};
  for (const auto& [keys, walkFrames, line] : rows) {
    load(platform);
    frames(walkFrames, keys);
    frames(1);
    EXPECT_EQ(avatarLine(), line);
  }
  for (const char* keys : {"", "D"}) {
    load(platform);
    frames(4, "R");
    frames(2, keys);
    channelStates[1] = 0;
    frames(1, keys);
    channelStates[1] = 1;
    EXPECT_EQ(avatarLine(), "av 312.5 540.146484375 2 0 9.375 0 0") << "losing the ground, although facing right";
  }
}

TEST_F(AvatarMovement, FloorContactLandsOnlyWhenNotRising) {
  // A switched-off tile where the avatar stands; it comes on while the avatar rises through it.
  load(floorLevel("tl 5 27 1\n"));
  channelStates[1] = 0;
  frames(1, "Z");
  frames(3);
  EXPECT_EQ(avatar().y(), 540.0 - 753.75 / 64);
  channelStates[1] = 1;
  frames(1);
  EXPECT_EQ(avatar().state, Avatar::InAir) << "pushed up 8.22 px without landing";
  EXPECT_EQ(avatar().y(), 520.0 - 232.5 / 64);

  load(floorLevel());
  avatar().setPosition(100, 545);
  avatar().state = Avatar::InAir;
  avatar().vy = 0.0;
  frames(1);
  EXPECT_EQ(avatarLine(), "av 100 540 0 0 0 0 0") << "vy exactly 0 lands";
}

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
