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

TEST_F(PauseRun, OnlyLevelsBeingPlayedPause) {
  // Label, level index, whether it is the editor's test play, whether the avatar has died
  // first, whether P pauses.
  const std::tuple<const char*, int, bool, bool, bool> rows[] = {
      {"a numbered level", 0, false, false, true},
      {"the editor's test play", -1, true, false, true},
      {"the menu's background", -1, false, false, false},
      {"a level showing its death report", 0, false, true, false},
      {"a test play showing its death report", -1, true, true, false},
  };
  for (const auto& [label, levelIndex, testPlay, dead, pauses] : rows) {
    load(floorLevel(), levelIndex);
    sim->state().testPlay = testPlay;
    if (dead) {
      avatar().die("fell");
      press({});
    }
    press({ALLEGRO_KEY_P});
    EXPECT_EQ(sim->state().pause.paused(), pauses) << label;
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

// The mouse pointer is hidden while a level is played and shows over its pause and its report,
// and over the menu's background level.
TEST_F(PauseRun, ThePointerHidesOnlyWhileALevelIsPlayed) {
  enum class Then { Plays, Pauses, Dies };
  const std::tuple<const char*, int, bool, Then, bool> rows[] = {
      {"a level being played", 0, false, Then::Plays, false},
      {"a test play being played", -1, true, Then::Plays, false},
      {"a paused level", 0, false, Then::Pauses, true},
      {"a level's report", 0, false, Then::Dies, true},
      {"a test play's report", -1, true, Then::Dies, true},
      {"the menu's background", -1, false, Then::Plays, true},
  };
  for (const auto& [label, levelIndex, testPlay, then, shows] : rows) {
    load(floorLevel(), levelIndex);
    sim->state().testPlay = testPlay;
    if (then == Then::Dies) avatar().die("fell");
    press(then == Then::Pauses ? std::vector<int>{ALLEGRO_KEY_P} : std::vector<int>{});
    EXPECT_EQ(sim->state().showsMouseCursor(), shows) << label;
  }
}

// The test play's report says where Space leads.
TEST_F(PauseRun, ATestPlaysReportLeadsBackToTheEditor) {
  const std::tuple<const char*, bool, std::string, std::string> rows[] = {
      {"a level", false, "SPACE, R - retry", "ESC - back to menu"},
      {"a test play", true, "SPACE, R - retry", "ESC - back to the editor"},
  };
  for (const auto& [label, testPlay, left, right] : rows) {
    load(floorLevel(), testPlay ? -1 : 0);
    sim->state().testPlay = testPlay;
    avatar().die("fell");
    press({});
    ASSERT_TRUE(sim->state().report) << label;
    EXPECT_EQ(sim->state().report->lines.back(), std::make_pair(left, right)) << label;
  }
}

}  // namespace
