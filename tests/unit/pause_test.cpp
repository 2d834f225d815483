#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/input_snapshot.h"
#include "app/music.h"
#include "unit/sim_run.h"

namespace {

class PauseRun : public SimRun {
 protected:
  void SetUp() override {
    SimRun::SetUp();
    initMusic(1);  // the final screen starts its tune
  }
  void TearDown() override {
    SimRun::TearDown();
    stopMusic();
  }
  void press(const std::vector<int>& keys) { sim->step(keys, kDt); }
  double elapsed() { return context().elapsedTime; }
};

// P stops the level's clock and bodies, a key held all along included; Escape then only resumes.
TEST_F(PauseRun, PStopsTheLevelAndEscapeResumesIt) {
  load(floorLevel(), 0);
  press({ALLEGRO_KEY_RIGHT});
  press({ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_P});
  ASSERT_TRUE(sim->state().paused());
  const double time = elapsed();
  const double x = avatar().x();
  for (int frame = 0; frame < 10; ++frame) press({ALLEGRO_KEY_RIGHT});
  EXPECT_EQ(elapsed(), time);
  EXPECT_EQ(avatar().x(), x);
  press({ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_ESCAPE});
  EXPECT_FALSE(sim->state().paused());
  EXPECT_EQ(sim->state().status, RunStatus::Running);
  press({ALLEGRO_KEY_RIGHT});
  EXPECT_GT(elapsed(), time);
  EXPECT_GT(avatar().x(), x);
}

// Only a level being played pauses; the mouse pointer is hidden while one is played and shows
// over its pause, over its report and over the menu's background level and the final screen.
TEST_F(PauseRun, OnlyLevelsBeingPlayedPauseOrHideThePointer) {
  // Label, the kind of play, whether the avatar has died first, and whether P pauses.
  const std::tuple<const char*, PlayKind, bool, bool> rows[] = {
      {"a numbered level", PlayKind::Numbered, false, true},
      {"a watched run", PlayKind::Watch, false, true},
      {"the editor's test play", PlayKind::TestPlay, false, true},
      {"the menu's background", PlayKind::Scene, false, false},
      {"the final screen", PlayKind::FinalScreen, false, false},
      {"a level showing its death report", PlayKind::Numbered, true, false},
      {"a test play showing its death report", PlayKind::TestPlay, true, false},
  };
  for (const auto& [label, kind, dead, pauses] : rows) {
    SCOPED_TRACE(label);
    PlayedLevel played;
    played.kind = kind;
    played.number = kind == PlayKind::Numbered || kind == PlayKind::Watch ? 1 : 0;
    load(floorLevel(), played);
    if (dead) avatar().die("fell");
    press({});
    EXPECT_EQ(sim->state().showsMouseCursor(), !pauses);
    EXPECT_EQ(sim->session().report() != nullptr, dead);
    press({ALLEGRO_KEY_P});
    EXPECT_EQ(sim->state().paused(), pauses);
    EXPECT_TRUE(sim->state().showsMouseCursor());
  }
}

// The P that starts the editor's test play is still held when the play begins: it is no press.
TEST_F(PauseRun, APHeldWhenThePlayStartsDoesNotPause) {
  TestState editor;
  setKeyDown(*editor.keyboardState(), ALLEGRO_KEY_P, true);
  refreshRootSwitches();
  Result<std::string> level = compileLevelText(floorLevel(), levelKinds());
  writeFileBytes(directory.file("test.lv"), level.value());
  PlayedLevel tested;
  tested.kind = PlayKind::TestPlay;
  sim = std::make_unique<Simulator>(directory.file("test.lv").c_str(), tested);
  press({ALLEGRO_KEY_P});
  EXPECT_FALSE(sim->state().paused());
  press({});
  press({ALLEGRO_KEY_P});
  EXPECT_TRUE(sim->state().paused()) << "a fresh press pauses";
}

}  // namespace
