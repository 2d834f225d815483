#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/input_snapshot.h"
#include "unit/sim_run.h"

namespace {

class PauseRun : public SimRun {
 protected:
  void press(const std::vector<int>& keys) { sim->step(keys, kDt); }
  double elapsed() { return context().elapsedTime; }
};

// P stops the level's clock and bodies, a key held all along included; Escape then only resumes.
TEST_F(PauseRun, PStopsTheLevelAndEscapeResumesIt) {
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

// Only a level being played pauses; the mouse pointer is hidden while one is played and shows
// over its pause, over its report (whose Escape leads back where the play came from) and over
// the menu's background level.
TEST_F(PauseRun, OnlyLevelsBeingPlayedPauseOrHideThePointer) {
  // Label, level index, whether it is the editor's test play, whether the avatar has died
  // first, whether P pauses, and where the report's Escape leads.
  const std::tuple<const char*, int, bool, bool, bool, const char*> rows[] = {
      {"a numbered level", 0, false, false, true, nullptr},
      {"the editor's test play", -1, true, false, true, nullptr},
      {"the menu's background", -1, false, false, false, nullptr},
      {"a level showing its death report", 0, false, true, false, "ESC - back to menu"},
      {"a test play showing its death report", -1, true, true, false, "ESC - back to the editor"},
  };
  for (const auto& [label, levelIndex, testPlay, dead, pauses, escape] : rows) {
    SCOPED_TRACE(label);
    load(floorLevel(), levelIndex);
    sim->state().testPlay = testPlay;
    if (dead) avatar().die("fell");
    press({});
    EXPECT_EQ(sim->state().showsMouseCursor(), !pauses);
    if (escape) {
      ASSERT_TRUE(sim->state().report);
      EXPECT_EQ(sim->state().report->lines.back(),
                std::make_pair(std::string("SPACE, R - retry"), std::string(escape)));
    }
    press({ALLEGRO_KEY_P});
    EXPECT_EQ(sim->state().pause.paused(), pauses);
    EXPECT_TRUE(sim->state().showsMouseCursor());
  }
}

// The P that starts the editor's test play is still held when the play begins: it is no press.
TEST_F(PauseRun, APHeldWhenThePlayStartsDoesNotPause) {
  TestState editor;
  setKeyDown(*editor.keyboardState(), ALLEGRO_KEY_P, true);
  refreshRootSwitches();
  LevelTextResult level = compileLevelText(floorLevel(), levelKinds());
  writeFileBytes(directory.file("test.lv"), level.output);
  sim = std::make_unique<Simulator>(directory.file("test.lv").c_str(), -1);
  sim->state().testPlay = true;
  press({ALLEGRO_KEY_P});
  EXPECT_FALSE(sim->state().pause.paused());
  press({});
  press({ALLEGRO_KEY_P});
  EXPECT_TRUE(sim->state().pause.paused()) << "a fresh press pauses";
}

}  // namespace
