// The assists: the game speed slows real time and never the level, invincibility spares the
// avatar from everything but a fall, the hint offers a way through after three deaths, and a run
// with any assist on earns neither the silver crown nor a best time or best run, while its marks
// say what it earned.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/data_dirs.h"
#include "app/frame_clock.h"
#include "campaign/assist_marks.h"
#include "gui/level_button.h"
#include "replay/replay_file.h"
#include "states/pause_menu.h"
#include "unit/sim_run.h"

namespace {

constexpr double kStep = 0.017;  // s, every update's step at any game speed

// A bag dropped into a bin completes the level in about a second; spikes under the avatar kill it.
const std::string kBinDay = gridLevel({{20, std::string(40, '0')}}, "av 2 19\ngb 10 5\nct 10 19 1\n");
const std::string kSpikes = gridLevel({{28, std::string(40, '0')}}, "av 5 27\nsp 5 27\n");

Assists assistsOf(int gameSpeed, bool invincible, bool hint) { return Assists{gameSpeed, invincible, hint}; }

// Plays of level 1 of the built-in campaign, its runs kept in a fresh player directory.
class AssistedRun : public PlayerDirectoryRun {
 protected:
  void start(const std::string& level, const Assists& assists, bool keepRuns = true) {
    PlayedLevel played;
    played.kind = PlayKind::Numbered;
    played.number = 1;
    load(level, played);
    if (keepRuns) sim->session().keepRuns("levels", 1, directory.file("test.lv"), false);
    sim->state().useAssists(assists);
  }
  // Plays until the level has ended, up to three seconds.
  const Report* playToTheEnd() {
    for (int frame = 0; frame < 192 && !sim->session().report(); ++frame) frames(1);
    return sim->session().report();
  }
  std::vector<std::string> reportText() {
    std::vector<std::string> text;
    if (const Report* report = sim->session().report()) {
      for (const ReportLine& line : report->panelLines()) text.push_back(line.left + "|" + line.right);
    }
    return text;
  }
  bool says(const std::string& line) {
    std::vector<std::string> text = reportText();
    return std::find(text.begin(), text.end(), line) != text.end();
  }
};

// Each speed plays the same keys: every update still steps 0.017 s, so the level's trace is the
// one played at full speed, and the real time per update grows as the speed falls. The machine
// is scripted: each frame's work takes 4 ms, and a rest returns on time.
TEST_F(AssistedRun, GameSpeedStretchesRealTimeAndLeavesTheLevelAlone) {
  const int speeds[] = {100, 90, 80, 70, 60, 50};
  std::string fullSpeedTrace;
  for (int speed : speeds) {
    SCOPED_TRACE(speed);
    start(kBinDay, assistsOf(speed, false, false), false);
    double now = 10.0;
    PlayState& play = sim->state();
    play.clock = std::make_unique<FrameClock>([&] { return now; }, [&](double seconds) { now += seconds; });
    play.useAssists(assistsOf(speed, false, false));
    play.clock->start();
    const double startedAt = now;
    std::string trace;
    for (int frame = 0; frame < 120; ++frame) {
      now += 0.004;
      FrameStep step = play.clock->tick();
      ASSERT_EQ(step.dt, kStep) << "frame " << frame;
      frames(1, frame < 40 ? "R" : frame == 50 ? "Z" : "", step.dt);
      trace += sim->trace();
    }
    EXPECT_NEAR((now - startedAt) / 120, kStep * 100 / speed, 1e-9) << "real time per update";
    if (fullSpeedTrace.empty()) fullSpeedTrace = trace;
    EXPECT_EQ(trace, fullSpeedTrace);
  }
}

// Each cause of death with invincibility off and on: only the fall still kills, and a death
// spared counts none.
TEST_F(AssistedRun, InvincibilitySparesTheAvatarFromAllButAFall) {
  const std::string floor = std::string(40, '0');
  // Label, level, where the avatar is put first (x < 0: where the level has it), the reason.
  const std::tuple<const char*, std::string, double, double, const char*> rows[] = {
      {"spikes", kSpikes, -1, -1, "ate some spiky death"},
      {"a force field", gridLevel({{28, floor}}, "av 5 27\nff 5 27 horizontal\n"), -1, -1,
       "got baked by a force field"},
      {"a feral baddie", gridLevel({{28, floor}}, "av 5 27\nbd 7 27 feral\n"), -1, -1,
       "have become a snack for a feral baddie."},
      {"a crushing wall", gridLevel({{27, ".....A1"}, {28, floor}}), 113.5, 540, "were crushed by a hunk of wall"},
      {"a fall", gridLevel({{0, "....................A"}}), -1, -1, "fell of the face of the world"},
  };
  for (const auto& [label, level, x, y, reason] : rows) {
    for (bool invincible : {false, true}) {
      SCOPED_TRACE(std::string(label) + (invincible ? ", invincible" : ""));
      start(level, assistsOf(100, invincible, false), false);
      if (x >= 0) avatar().setPosition(x, y);
      int deathsBefore = progress().deaths;
      frames(150);
      bool killed = !invincible || std::string(label) == "a fall";
      EXPECT_EQ(avatar().outcome().status, killed ? Outcome::Dead : Outcome::Playing);
      EXPECT_EQ(avatar().outcome().reason, killed ? reason : "");
      EXPECT_EQ(progress().deaths - deathsBefore, killed ? 1 : 0);
    }
  }
}

// A completion with each assist alone, and one without: the level is completed and the next
// ones open, the golden crown is earned, but an assisted run gets no silver crown, no best time
// and no best run, and its report says why. Invincibility keeps no run at all: played again
// without it, the run would end otherwise.
TEST_F(AssistedRun, AnAssistedCompletionEarnsNoSilverCrownBestTimeOrBestRun) {
  const std::tuple<const char*, Assists, bool, bool> rows[] = {
      {"no assist", assistsOf(100, false, false), true, true},
      {"the game at 50 %", assistsOf(50, false, false), false, true},
      {"invincible", assistsOf(100, true, false), false, false},
      {"the hint on", assistsOf(100, false, true), false, true},
  };
  for (const auto& [label, assists, timed, lastRunKept] : rows) {
    SCOPED_TRACE(label);
    progress() = Progress();
    progress().ensureRecords(5);
    progress().targets = {60.0};
    std::filesystem::remove_all(directory.file("replays"));
    start(kBinDay, assists);
    ASSERT_NE(playToTheEnd(), nullptr);
    const LevelRecord& record = progress().records[0];
    EXPECT_TRUE(record.completed);
    EXPECT_TRUE(record.golden);
    EXPECT_EQ(record.silver, timed);
    EXPECT_EQ(record.bestTime < kNoBestTime, timed);
    EXPECT_TRUE(progress().records[3].unlocked) << "the completion opens levels as any other";
    EXPECT_EQ(loadReplay(directory.file("replays/levels/1.rpl")).ok(), timed) << "the best run";
    EXPECT_EQ(loadReplay(directory.file("replays/levels/1.last.rpl")).ok(), lastRunKept) << "the last run";
    EXPECT_EQ(sim->session().report()->actionFor(ReportKey::W).has_value(), lastRunKept) << "watch this run";
    EXPECT_EQ(says("And all that under the target time, well done! Silver crown awarded!|"), timed);
    EXPECT_EQ(says("Assists were on: this run earns no silver crown and sets no best time.|"), !timed);
    EXPECT_EQ(progress().assisted.marked(0, AssistMarks::Mark::Completed), !timed);
  }
}

// The hint offers the campaign's way through in the death report (H, the pad's Start) and in the
// pause menu once the player has died three times in the level, counting this play's death.
TEST_F(AssistedRun, TheHintOffersAWayThroughAfterThreeDeaths) {
  Replay wayThrough;
  wayThrough.runs = {{kStep, PlayInput{}, 1}};
  // Label, the hint, deaths in earlier plays, a way through shipped; offered in the report.
  const std::tuple<const char*, bool, int, bool, bool> rows[] = {
      {"the third death", true, 2, true, true},          {"a death after three", true, 3, true, true},
      {"the second death", true, 1, true, false},        {"the hint off", false, 5, true, false},
      {"no way through shipped", true, 5, false, false},
  };
  for (const auto& [label, hint, earlierDeaths, shipped, offered] : rows) {
    SCOPED_TRACE(label);
    start(kSpikes, assistsOf(100, false, hint), false);
    if (shipped) sim->session().offerWayThrough(wayThrough, earlierDeaths);
    EXPECT_EQ(sim->session().wayThroughOffered(), offered && earlierDeaths >= 3) << "before the death";
    ASSERT_NE(playToTheEnd(), nullptr);
    const Report& report = *sim->session().report();
    EXPECT_EQ(report.actionFor(ReportKey::H), offered ? std::optional(ReportAction::WatchWayThrough) : std::nullopt);
    EXPECT_EQ(says("H - watch a way through|"), offered);
    if (offered) {
      EXPECT_EQ(report.choices[0].hint(InputDevice::Gamepad), "START - watch a way through");
    }
  }
  std::vector<PauseEntry> entries = pauseEntries(PausedPlay::Level, true, true);
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[2].label, "Watch a way through");
  EXPECT_EQ(entries[2].choice, PauseChoice::WayThrough);
}

// Completions one after another, each with or without assists (all garbage, 10 s under a
// target of 20 s, or not): what the record holds, the marks, and what the level's information
// in the menu says of it.
TEST(AssistMarks, WhatOnlyAssistedRunsEarnedIsMarked) {
  struct Completion {
    bool allGarbage;
    double elapsed;
    bool assisted;
  };
  const std::tuple<const char*, std::vector<Completion>, bool, const char*, const char*, const char*> rows[] = {
      {"one assisted run",
       {{true, 10, true}},
       false,
       "Completed (assisted)",
       "100% completion achieved (assisted)",
       "Best time: ---"},
      {"assisted, then without garbage unassisted",
       {{true, 10, true}, {false, 9, false}},
       false,
       "Completed",
       "100% completion achieved (assisted)",
       "Best time: ---"},
      {"assisted without garbage, then the crown unassisted",
       {{false, 10, true}, {true, 15, false}},
       true,
       "Completed",
       "100% completion achieved",
       "Best time: 15.00s"},
      {"unassisted, then a faster assisted run",
       {{true, 15, false}, {true, 5, true}},
       true,
       "Completed",
       "100% completion achieved",
       "Best time: 15.00s"},
      {"unassisted without garbage, then the crown assisted",
       {{false, 15, false}, {true, 5, true}},
       false,
       "Completed",
       "100% completion achieved (assisted)",
       "Best time: ---"},
  };
  for (const auto& [label, completions, silver, completedLine, goldenLine, bestLine] : rows) {
    SCOPED_TRACE(label);
    Progress record;
    record.ensureRecords(4);
    record.targets = {20.0};
    for (const Completion& run : completions) record.recordCompletion(0, run.allGarbage, run.elapsed, run.assisted);
    EXPECT_EQ(record.records[0].silver, silver);
    EXPECT_TRUE(record.records[3].unlocked);
    std::vector<InformationLine> lines = levelInformation(record, 0, "");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1].text, completedLine);
    EXPECT_EQ(lines[2].text, goldenLine);
    EXPECT_EQ(lines[3].text, bestLine);
  }
}

// The marks' file: what a game saves the next one reads, two games' marks merge (one's cleared
// mark stays cleared, the other's new one is kept), and a damaged file is set aside with its
// readable lines kept rather than lost.
TEST(AssistMarks, TheFileKeepsMergesAndSurvivesDamage) {
  TempDir directory;
  const std::string path = directory.file("binhopper.assisted");
  LevelRecord fresh;
  LevelRecord completed;
  completed.completed = true;
  AssistMarks first, second;
  first.path = second.path = path;
  first.load();
  first.recordCompletion(0, fresh, true, true);
  first.recordCompletion(1, fresh, false, true);
  ASSERT_TRUE(first.save().ok());
  second.load();
  EXPECT_TRUE(second.marked(0, AssistMarks::Mark::Golden));
  EXPECT_TRUE(second.marked(1, AssistMarks::Mark::Completed));
  second.recordCompletion(1, completed, false, false);
  first.recordCompletion(2, fresh, false, true);
  ASSERT_TRUE(second.save().ok());
  ASSERT_TRUE(first.save().ok());
  EXPECT_EQ(readFileBytes(path),
            "# Levels whose completion or golden crown came only from runs with assists\n"
            "1 completed\n1 golden\n3 completed\n");

  writeFileBytes(path, "1 golden\n2 gold\n\n# mine\n04 completed\n300 completed\n5 completed\n");
  AssistMarks damaged;
  damaged.path = path;
  std::vector<std::string> told = damaged.load();
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[1], "A copy of the damaged file is in '" + path + ".bad'.");
  EXPECT_EQ(readFileBytes(path + ".bad"), "1 golden\n2 gold\n\n# mine\n04 completed\n300 completed\n5 completed\n");
  EXPECT_TRUE(damaged.marked(0, AssistMarks::Mark::Golden));
  EXPECT_TRUE(damaged.marked(4, AssistMarks::Mark::Completed));
  EXPECT_FALSE(damaged.marked(3, AssistMarks::Mark::Completed));
  EXPECT_EQ(assistMarksPath("progress/overtime.dat"), "progress/overtime.assisted");
}

}  // namespace
