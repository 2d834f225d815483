#include "app/frame_clock.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr double kFrame = FrameClock::kMinimumFrame;

// A scripted machine: the test sets how long each frame's work takes, and each rest returns
// off its request by the next of a list of errors (negative: early, positive: late), then on
// time.
struct FakeMachine {
  double now = 100.0;
  std::deque<double> restErrors;
  int rests = 0;

  FrameClock clock(double minimumFrame = kFrame) {
    return FrameClock([this] { return now; },
                      [this](double seconds) {
                        ++rests;
                        now += seconds;
                        if (restErrors.empty()) return;
                        now += restErrors.front();
                        restErrors.pop_front();
                      },
                      minimumFrame);
  }
};

// Each frame starts at its deadline, the previous frame's start plus the minimum frame: a
// rest that returns early is continued, one that returns late is made up by the next frames,
// by at most 1 ms each. Every short frame is a step of the minimum frame. A frame within 2 % of
// the minimum is on time: with vertical sync the flip waits for the display's next refresh, and
// resting to a minimum frame a little longer than the refresh (a 59.94 Hz display that reports
// 59 Hz) would push each frame later until one missed its refresh.
TEST(FrameClock, ShortFramesStartAtTheirDeadlines) {
  const double late = 0.0005;
  // Label; minimum frame; the work of each frame; the rest errors; the start of each frame
  // after the clock's start; the rests taken.
  const std::tuple<const char*, double, double, std::deque<double>, std::vector<double>, int> rows[] = {
      {"on time", kFrame, 0.01, {}, {0.017, 0.034, 0.051}, 3},
      {"2 ms early: rested again", kFrame, 0.01, {-0.002}, {0.017, 0.034, 0.051}, 4},
      {"0.5 ms late: made up by the next frame", kFrame, 0.01, {late}, {0.017 + late, 0.034, 0.051}, 3},
      {"late twice", kFrame, 0.01, {late, late}, {0.017 + late, 0.034 + late, 0.051}, 3},
      {"4 ms late: four frames of 16 ms", kFrame, 0.01, {0.004}, {0.021, 0.037, 0.053, 0.069, 0.085, 0.102}, 6},
      {"59.94 Hz at 1/59 s: on time, not rested", 1.0 / 59, 1 / 59.94, {}, {1 / 59.94, 2 / 59.94, 3 / 59.94}, 0},
  };
  for (const auto& [label, minimumFrame, work, restErrors, starts, rests] : rows) {
    SCOPED_TRACE(label);
    FakeMachine machine;
    machine.restErrors = restErrors;
    FrameClock clock = machine.clock(minimumFrame);
    clock.start();
    const double origin = machine.now;
    for (double start : starts) {
      machine.now += work;
      FrameStep step = clock.tick();
      EXPECT_EQ(step.dt, minimumFrame);
      EXPECT_FALSE(step.skipDraw);
      EXPECT_NEAR(machine.now - origin, start, 1e-9);
    }
    EXPECT_EQ(machine.rests, rests);
  }
}

// Lateness beyond one minimum frame is forgotten: after a rest that returns 30 ms late come
// 17 frames of 16 ms, then frames of 17 ms again.
TEST(FrameClock, LatenessIsMadeUpToOneFrame) {
  FakeMachine machine;
  FrameClock clock = machine.clock();
  clock.start();
  machine.restErrors = {0.03};
  machine.now += 0.01;
  clock.tick();
  for (int frame = 1; frame <= 19; ++frame) {
    const double previousStart = machine.now;
    machine.now += 0.01;
    clock.tick();
    EXPECT_NEAR(machine.now - previousStart, frame <= 17 ? 0.016 : 0.017, 1e-9) << "frame " << frame;
  }
}

TEST(FrameClock, MinimumFrameFollowsTheRefreshRate) {
  // Refresh rate in hertz (0: the display does not say); the minimum frame used.
  const std::tuple<double, double> rows[] = {
      {0, 0.017},       {30, 0.017},      {58, 0.017},  {59.94, 1 / 59.94}, {60, 1.0 / 60},
      {144, 1.0 / 144}, {240, 1.0 / 240}, {241, 0.017}, {500, 0.017},       {-60, 0.017},
  };
  for (const auto& [rate, minimumFrame] : rows)
    EXPECT_DOUBLE_EQ(FrameClock::minimumFrameAt(rate), minimumFrame) << rate;
}

// No step is ever longer than 0.017 s: the drawn step is the remainder of total / 0.017, the
// whole 0.017 s steps follow undrawn, and a frame is cut to 0.15 s.
TEST(FrameClock, LongFramesAreSplitIntoMinimumFrameSteps) {
  const std::tuple<const char*, double, double, int> rows[] = {
      {"0.017 s: one drawn step", 0.017, 0.017, 0},
      {"0.03 s: n = 1.76", 0.03, 0.013, 1},
      {"0.05 s: n = 2.94", 0.05, 0.016, 2},
      {"0.12 s: n = 7.06", 0.12, 0.001, 7},
      {"2 s is cut to 0.15 s: n = 8.82", 2.0, 0.014, 8},
  };
  for (const auto& [label, frameLength, drawnStep, undrawnSteps] : rows) {
    SCOPED_TRACE(label);
    FakeMachine machine;
    FrameClock clock = machine.clock();
    clock.start();
    machine.now += frameLength;
    FrameStep step = clock.tick();
    EXPECT_NEAR(step.dt, drawnStep, 1e-9);
    EXPECT_FALSE(step.skipDraw);
    for (int i = 0; i < undrawnSteps; ++i) {
      FrameStep catchUp = clock.tick();
      EXPECT_TRUE(catchUp.dt == 0.017 && catchUp.skipDraw) << "catch-up step " << i;
    }
    // The next call measures time again: no time passed, so it is a minimum frame.
    FrameStep next = clock.tick();
    EXPECT_TRUE(next.dt == 0.017 && !next.skipDraw);
    EXPECT_EQ(machine.rests, 1);
  }
}

// A restarted clock (after an inner state ran) keeps its catch-up steps, and owes nothing from
// before: a late rest is no longer made up, and a stopped clock gives no time.
TEST(FrameClock, StartKeepsPendingStepsAndForgetsLateRests) {
  FakeMachine machine;
  FrameClock clock = machine.clock();
  EXPECT_EQ(clock.tick().dt, 0.0) << "never started";
  clock.start();
  machine.restErrors = {0.0008};
  clock.tick();
  machine.now += 0.03;
  clock.tick();
  clock.start();
  const double restart = machine.now;
  FrameStep step = clock.tick();
  EXPECT_TRUE(step.skipDraw && step.dt == 0.017);
  step = clock.tick();
  EXPECT_FALSE(step.skipDraw);
  EXPECT_NEAR(machine.now - restart, 0.017, 1e-9);
  clock.stop();
  EXPECT_EQ(clock.tick().dt, 0.0) << "stopped";
}

}  // namespace
