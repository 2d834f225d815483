#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "unit/sim_run.h"

namespace {

class PauseRun : public SimRun {
 protected:
  void press(const std::vector<int>& keys) { sim->step(keys, kDt); }
  double elapsed() { return context().elapsedTime; }
};

// P stops the level's clock and bodies, a key held all along included; the next key pressed
// (even Escape) only resumes.
TEST_F(PauseRun, PStopsTheLevelAndAnyKeyResumesIt) {
  load(floorLevel(), 0);
  press({ALLEGRO_KEY_RIGHT});
  press({ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_P});
  ASSERT_TRUE(sim->state().pause.paused());
  const double time = elapsed();
  const double x = avatar().x();
  for (int frame = 0; frame < 10; ++frame) press({ALLEGRO_KEY_RIGHT});
  EXPECT_EQ(elapsed(), time);
  EXPECT_EQ(avatar().x(), x);
  press({ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_ESCAPE});
  EXPECT_FALSE(sim->state().pause.paused());
  EXPECT_EQ(sim->state().status, RunStatus::Running);
  press({ALLEGRO_KEY_RIGHT});
  EXPECT_GT(elapsed(), time);
  EXPECT_GT(avatar().x(), x);
}

TEST_F(PauseRun, OnlyNumberedLevelsStillPlayingPause) {
  // Label, level index, whether the avatar has died first, whether P pauses.
  const std::tuple<const char*, int, bool, bool> rows[] = {
      {"a numbered level", 0, false, true},
      {"the menu's background or the editor's test", -1, false, false},
      {"a level showing its death report", 0, true, false},
  };
  for (const auto& [label, levelIndex, dead, pauses] : rows) {
    load(floorLevel(), levelIndex);
    if (dead) {
      avatar().die("fell");
      press({});
    }
    press({ALLEGRO_KEY_P});
    EXPECT_EQ(sim->state().pause.paused(), pauses) << label;
  }
}

}  // namespace
