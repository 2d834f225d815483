#include <gtest/gtest.h>

#include <string>

#include "entities/avatar.h"
#include "entities/cloud.h"
#include "states/simulator.h"
#include "themes/theme.h"
#include "unit/test_support.h"
#include "world/level_text.h"

namespace {

// A grid block of the level text form with a floor across row 20.
std::string floorGrid() { return "grid\n" + std::string(20, '\n') + std::string(40, '0') + "\nend\n"; }

// A level file made from its text form in a temporary folder.
std::string compiledLevel(const TempDir& dir, const std::string& text) {
  LevelTextResult level = compileLevelText(text);
  EXPECT_TRUE(level.ok) << level.message;
  std::string path = dir.file("level.lv");
  writeFileBytes(path, level.output);
  return path;
}

// The play state, run by the simulator, survives every object that looks for the avatar in a
// level that has none.
TEST(NoAvatar, PlayStateRunsALevelOfAvatarSeekersWithoutAnAvatar) {
  initAllegroForTests();
  createThemes();
  TempDir dir;
  std::string path = compiledLevel(dir, R"(ms 4 19 "Nobody reads this"
bd 8 19 feral
vr 12 19 1 off
sp 14 19
ff 16 19 vertical
lg 18 19
gb 20 19
pr 22 19 2 on
ct 24 19 1
fw 26 10
)" + floorGrid());
  Simulator simulator(path.c_str(), -1);
  for (int frame = 0; frame < 200; ++frame) simulator.step({}, 0.017);
  EXPECT_EQ(simulator.avatar(), nullptr);
  EXPECT_EQ(simulator.end().rfind("END frames=200 status=0 reason=\"\"", 0), 0u) << simulator.end();
  EXPECT_EQ(simulator.state().report, nullptr);
  int clouds = 0;
  for (Entity* e : simulator.state().world->byTag(tagOf("rndr"))) clouds += dynamic_cast<Cloud*>(e) != nullptr;
  EXPECT_EQ(clouds, 24) << "every level has its 24 clouds";
}

// Two bags fall into a container that wants one; the avatar completes the level at its next
// update and the play state shows the completion report.
TEST(Completion, FilledContainersCompleteTheLevelAndShowTheReport) {
  initAllegroForTests();
  createThemes();
  TempDir dir;
  std::string path = compiledLevel(dir, R"(av 2 19
gb 10 15
gb 10 15
ct 10 19 1
)" + floorGrid());
  Simulator simulator(path.c_str(), -1);
  int completedAt = 0;
  for (int frame = 1; frame <= 30 && !completedAt; ++frame) {
    simulator.step({}, 0.03125);
    if (simulator.avatar()->outcome().status == Outcome::Completed) completedAt = frame;
  }
  EXPECT_EQ(completedAt, 16) << "bags in the mouth after frame 15, avatar checks in frame 16";
  ASSERT_NE(simulator.state().report, nullptr);
  EXPECT_TRUE(simulator.state().report->visible);
  EXPECT_EQ(simulator.state().report->lines.at(0).first, "You have completed the level!");
  EXPECT_EQ(simulator.state().report->lines.at(2).second, "0%");
  EXPECT_EQ(simulator.state().report->lines.at(8).second, "0") << "no throws";
}

}  // namespace
