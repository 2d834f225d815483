#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "app/data_dirs.h"
#include "campaign/progress.h"
#include "entities/avatar.h"
#include "replay/replay_file.h"
#include "replay/run_keeper.h"
#include "sim/replay_keys.h"
#include "sim/simulator.h"
#include "states/ghost.h"
#include "themes/themes.h"
#include "unit/test_support.h"
#include "world/world.h"

namespace {

constexpr double kStep = 0.017;  // s
const PlayInput kRight{false, true, false, false, false, false};

// The player's files go to a fresh folder for each test.
class KeptRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    initAllegroForTests();
    createThemes();
    progress() = Progress();
    setPlayerDirectory(players.path());
  }
  void TearDown() override {
    setPlayerDirectory("");
    progress() = Progress();
  }
  Result<Replay> kept(const std::string& name) { return loadReplay(players.file("replays/levels/" + name)); }

  TempDir players;
};

// Each row ends one run of level 3: the best run is the fastest completion so far, the last run
// whatever ended last, and a second end of the same run changes nothing. A completion of another
// version of the level (its hash) takes the best run's place, and the best run of the version
// before goes beside it, never under it. Which runs replace a best run is the replay file's
// tests' business; these rows show the keeper asks.
TEST_F(KeptRuns, TheLastRunAndTheFastestCompletionAreKept) {
  const Outcome completed{Outcome::Completed, ""}, dead{Outcome::Dead, "fell"};
  struct {
    const char* label;
    uint64_t levelHash;
    Outcome outcome;
    double elapsed;
    double bestAfter;     // 0: no best run yet
    const char* besides;  // the best runs of other versions: "<hash> <elapsed>" each
  } const rows[] = {
      {"a death is no best run", 42, dead, 0.04, 0, ""},
      {"the first completion", 42, completed, 0.06, 0.06, ""},
      {"a slower completion", 42, completed, 0.07, 0.06, ""},
      {"a faster completion", 42, completed, 0.05, 0.05, ""},
      {"a slower completion of another version", 43, completed, 0.08, 0.08, "2a 0.05 "},
      {"the first version again", 42, completed, 0.075, 0.075, "2a 0.05 2b 0.08 "},
      {"a slower run of a version is dropped for its faster one beside", 43, completed, 0.078, 0.078,
       "2a 0.05 2b 0.08 "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    RunKeeper keeper("levels", 3, row.levelHash);
    for (int frame = 0; frame < 5; ++frame) keeper.record(kStep, frame < 3 ? kRight : PlayInput{});
    keeper.end(row.outcome, row.elapsed);
    keeper.end(completed, 0.01);
    Result<Replay> last = kept("3.last.rpl");
    ASSERT_TRUE(last.ok()) << located(last.problem());
    EXPECT_EQ(last.value().outcome.status, row.outcome.status);
    EXPECT_EQ(last.value().elapsed, row.elapsed);
    EXPECT_EQ(last.value().frameCount(), 5u);
    EXPECT_EQ(last.value().levelHash, row.levelHash);
    ASSERT_NE(keeper.run(), nullptr);
    EXPECT_EQ(keeper.run()->elapsed, row.elapsed);
    Result<Replay> best = kept("3.rpl");
    EXPECT_EQ(best.ok() ? best.value().elapsed : 0.0, row.bestAfter);
    std::string besides;
    for (const char* hash : {"2a", "2b"}) {
      Result<Replay> aside = kept("3.00000000000000" + std::string(hash) + ".rpl");
      if (aside.ok()) besides += std::string(hash) + " " + format("%.2f", aside.value().elapsed) + " ";
    }
    EXPECT_EQ(besides, row.besides);
  }
}

// The ghost plays level 7's best run, which works its levers, beside a player who stands
// still: the level's trace is the same frame by frame with the ghost and without it.
TEST_F(KeptRuns, TheGhostLeavesTheLevelAlone) {
  const std::string level = std::string(BINHOPPER_SOURCE_DIR) + "/levels/7.lv";
  progress().ensureRecords(16);
  progress().records[6].completed = true;  // the shipped best run is raced once the level is completed
  Result<Replay> best = loadReplay(std::string(BINHOPPER_SOURCE_DIR) + "/levels/replays/7.rpl");
  ASSERT_TRUE(best.ok()) << located(best.problem());
  auto play = [&](bool ghost, double& ghostTravel) {
    Simulator simulator(level.c_str(), 6);
    simulator.session().keepRuns("levels", 7, level, ghost);
    const Ghost* racer = simulator.session().ghost();
    EXPECT_EQ(racer != nullptr, ghost);
    double startX = racer ? racer->avatar()->x() : 0.0;
    std::string trace;
    for (uint32_t frame = 0; frame < best.value().frameCount(); ++frame) {
      simulator.step({}, kStep);
      trace += simulator.trace();
    }
    ghostTravel = racer ? racer->avatar()->x() - startX : 0.0;
    return trace + simulator.end();
  };
  double travel = 0.0, none = 0.0;
  std::string alone = play(false, none);
  std::string raced = play(true, travel);
  EXPECT_GT(travel, 100.0) << "the ghost ran its course";
  EXPECT_EQ(alone, raced);
}

// Saves that fail in the middle of play are told at the time: in the death report, and, for a
// run left with Escape (no report), to the menu that ran the level. Play goes on either way.
TEST_F(KeptRuns, FailedSavesAreShownWhenTheyHappen) {
  writeFileBytes(players.file("replays"), "a file where the runs' folder should be");
  writeFileBytes(players.file("blocked"), "a file where the progress folder should be");
  const std::string level = players.file("fall.lv");
  writeFileBytes(level, std::string("av\x02\x00", 4));  // an avatar over nothing falls to its death
  progress().path = players.file("blocked/binhopper.dat");
  progress().loaded = true;
  progress().ensureRecords(16);
  const std::string progressLine =
      "Unable to save progress to '" + progress().path + "': " + std::strerror(ENOTDIR) + ".";
  const std::string runLine = "Unable to save the run to '" + players.file("replays/levels/1.last.rpl") + "': ";
  auto startsWith = [](const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; };

  ::testing::internal::CaptureStdout();
  Simulator fall(level.c_str(), 0);
  fall.session().keepRuns("levels", 1, level, false);
  for (int frame = 0; frame < 600 && !fall.session().report(); ++frame) fall.step({}, kStep);
  ASSERT_NE(fall.session().report(), nullptr) << "the avatar never died";
  std::vector<std::string> shown;
  for (const ReportLine& line : fall.session().report()->lines) shown.push_back(line.left);
  EXPECT_NE(std::find(shown.begin(), shown.end(), progressLine), shown.end()) << "the death's save, in the report";
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const std::string& line) {
    return startsWith(line, runLine);
  })) << "the run's save, in the report";
  EXPECT_TRUE(fall.session().takeSaveFailures().empty()) << "shown once";

  Simulator left(level.c_str(), 0);
  left.session().keepRuns("levels", 1, level, false);
  left.step({}, kStep);
  left.step({ALLEGRO_KEY_ESCAPE}, kStep);
  std::vector<std::string> toMenu = left.session().takeSaveFailures();
  ASSERT_EQ(toMenu.size(), 1u);
  EXPECT_TRUE(startsWith(toMenu[0], runLine)) << toMenu[0];
  std::string printed = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(printed.find(progressLine), std::string::npos) << printed;
  EXPECT_EQ(readFileBytes(players.file("blocked")), "a file where the progress folder should be");
}

}  // namespace
