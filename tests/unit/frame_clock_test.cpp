#include "app/frame_clock.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

// A scripted clock: each frame's length is set by the test; rests advance time by a set amount.
struct FakeTime {
  double now = 100.0;
  double restOvershoot = 0.0;
  std::vector<double> rests;
};

FrameClock makeClock(FakeTime& time) {
  return FrameClock([&time] { return time.now; },
                    [&time](double s) {
                      time.rests.push_back(s);
                      time.now += s + time.restOvershoot;
                    });
}

TEST(FrameClock, ShortFrameIsReportedAsMinimumAndOwesSleep) {
  FakeTime time;
  FrameClock clock = makeClock(time);
  EXPECT_EQ(clock.tick().dt, 0.0) << "a stopped clock gives no time";
  clock.start();
  time.now += 0.01;
  FrameStep step = clock.tick();
  EXPECT_DOUBLE_EQ(step.dt, 0.017);
  EXPECT_FALSE(step.skipDraw);
  EXPECT_NEAR(clock.sleepDebt(), 0.007, 1e-12);
  EXPECT_TRUE(time.rests.empty()) << "0.007 s of debt is below the 0.0085 s estimate";

  // A second short frame pushes the debt over the estimate: one half-frame rest is taken.
  time.now += 0.01;
  clock.tick();
  ASSERT_EQ(time.rests.size(), 1u);
  EXPECT_DOUBLE_EQ(time.rests[0], 0.0085);
  EXPECT_NEAR(clock.sleepDebt(), 0.014 - 0.0085, 1e-12);
  double expectedEstimate = (0.0085 * 4.0 + 0.0085 * 0.5) * static_cast<double>(0.2f);
  EXPECT_NEAR(clock.sleepEstimate(), expectedEstimate, 1e-15);
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
    FakeTime time;
    FrameClock clock = makeClock(time);
    clock.start();
    time.now += frameLength;
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
  }
}

TEST(FrameClock, RestsAreNotCountedIntoTheNextFrame) {
  FakeTime time;
  time.restOvershoot = 0.002;
  FrameClock clock = makeClock(time);
  clock.start();
  for (int i = 0; i < 50; ++i) {
    time.now += 0.004;
    EXPECT_DOUBLE_EQ(clock.tick().dt, 0.017);
  }
  EXPECT_FALSE(time.rests.empty());
  EXPECT_LT(clock.sleepDebt(), 0.017);
}

TEST(FrameClock, StartKeepsPendingStepsAndClearsDebt) {
  FakeTime time;
  FrameClock clock = makeClock(time);
  clock.start();
  time.now += 0.01;
  clock.tick();
  ASSERT_GT(clock.sleepDebt(), 0.0);
  time.now += 0.12;
  clock.tick();
  clock.start();
  EXPECT_EQ(clock.sleepDebt(), 0.0);
  FrameStep step = clock.tick();
  EXPECT_TRUE(step.skipDraw);
  EXPECT_DOUBLE_EQ(step.dt, 0.017);
}

}  // namespace
