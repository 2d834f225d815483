#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "app/music.h"
#include "app/switch.h"
#include "gui/level_banner.h"
#include "states/play_state.h"
#include "unit/sim_run.h"

namespace {

using namespace std::string_literals;

// Levels of one pack played as the menu starts them, with the pack's own record beside the
// built-in campaign's file.
class CampaignPlay : public SimRun {
 protected:
  void SetUp() override {
    SimRun::SetUp();
    initMusic(1);  // the final screen starts its tune
    progress() = Progress();
    progress().path = directory.file("binhopper.dat");
    writeFileBytes(progress().path, "\x03\0\0\0\x01"s + "\x01\x00\x00\x00"s + "\0\0\0\0\0\x38\x8F\x40"s);
    progress().load(1);
    pack.path = directory.file("progress/loose.dat");
    std::filesystem::create_directories(directory.file("progress"));
    pack.targets = {5.0, 0.0};
    pack.load(2);
  }
  void TearDown() override {
    play.reset();
    setCurrentState(nullptr);
    progress() = Progress();
    stopMusic();
    SimRun::TearDown();
  }

  // Starts level `index` of the pack from the level text, named `name`.
  void start(const std::string& text, int index, const std::string& name = "") {
    Result<std::string> level = compileLevelText(text, levelKinds());
    ASSERT_TRUE(level.ok()) << located(level.problem());
    writeFileBytes(directory.file("level.lv"), level.value());
    PlayedLevel played = playedAtIndex(index);
    played.campaign = "loose";
    played.name = name;
    played.record = &pack;
    Result<std::unique_ptr<PlayState>> opened = PlayState::open(played, directory.file("level.lv").c_str(), *themes[0]);
    ASSERT_TRUE(opened.ok()) << opened.problem().message;
    play = std::move(opened.value());
    setCurrentState(play.get());
    refreshRootSwitches();
  }
  void run(double seconds) {
    for (double t = 0; t < seconds; t += kDt) play->update(kDt);
  }

  Progress pack;
  std::unique_ptr<PlayState> play;
};

// A bag dropped into a bin completes the level in about a second; spikes under the avatar kill it.
const std::string kBinDay = gridLevel({{20, std::string(40, '0')}}, "av 2 19\ngb 10 5\nct 10 19 1\n");
const std::string kSpikes = gridLevel({{28, std::string(40, '0')}}, "av 5 27\nsp 5 27\n");

// The pack's completions, crowns (from its own target times), deaths and file are its own: the
// built-in campaign's record and file stay as they were, byte for byte.
TEST_F(CampaignPlay, PackLevelsWriteOnlyThePacksRecord) {
  const std::string before = readFileBytes(progress().path);
  const std::tuple<const char*, std::string, int, bool, bool, int> rows[] = {
      {"under the pack's target: silver", kBinDay, 0, true, true, 0},
      {"a target of 0: no silver", kBinDay, 1, true, false, 0},
      {"a death", kSpikes, 0, true, true, 1},
  };
  for (const auto& [label, level, index, completed, silver, deaths] : rows) {
    SCOPED_TRACE(label);
    start(level, index);
    run(3.0);
    const Report* report = play->session().report();
    ASSERT_NE(report, nullptr);
    if (completed && !deaths) {
      EXPECT_EQ(play->session().targetTime(), pack.targets[index]) << "the timer's target is the pack's";
      EXPECT_EQ(report->lines[4].right, format("%.2lfs", pack.targets[index]));
    }
    EXPECT_EQ(pack.records[index].completed, completed);
    EXPECT_EQ(pack.records[index].silver, silver);
    EXPECT_EQ(pack.deaths, deaths);
    Progress saved;
    saved.path = pack.path;
    saved.load(2);
    EXPECT_EQ(saved.records[index].completed, completed) << "kept in progress/loose.dat at once";
    EXPECT_EQ(saved.deaths, deaths);
  }
  EXPECT_EQ(readFileBytes(progress().path), before);
  EXPECT_EQ(progress().deaths, 3);
  EXPECT_FALSE(progress().records[0].completed);
}

// The name shows at the start, on the half of the screen the avatar does not start in, and
// is gone within two seconds; a level without a name, the menu's scene and the final screen
// show none.
TEST_F(CampaignPlay, NameBannerAtTheStartAwayFromTheAvatar) {
  const std::string low = gridLevel({{28, std::string(40, '0')}}, "av 5 27\n");
  const std::string high = gridLevel({{6, std::string(40, '0')}}, "av 5 5\n");
  const std::tuple<const char*, std::string, int, const char*, bool, bool> rows[] = {
      {"avatar low: banner at the top", low, 0, "Loose Ends", true, true},
      {"avatar high: banner at the bottom", high, 1, "Loose Ends", true, false},
      {"no name", low, 0, "", false, false},
      {"the menu's scene", low, -1, "Title", false, false},
      {"the final screen", low, kFinalScreenIndex, "Winner", false, false},
  };
  for (const auto& [label, level, index, name, shown, atTop] : rows) {
    SCOPED_TRACE(label);
    start(level, index, name);
    ASSERT_EQ(play->banner() != nullptr, shown);
    if (!shown) continue;
    const Box band = play->banner()->band();
    EXPECT_EQ(band.top < 300, atTop);
    Entity& avatar = *play->session().avatar();
    EXPECT_GT(std::min(std::abs(band.top - avatar.y()), std::abs(band.bottom - avatar.y())), 150.0)
        << "clear of the avatar's first moves";
    run(2.05);
    EXPECT_EQ(play->banner(), nullptr);
  }
}

}  // namespace
