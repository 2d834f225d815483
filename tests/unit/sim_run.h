#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/data_dirs.h"
#include "app/switch.h"
#include "campaign/progress.h"
#include "entities/avatar.h"
#include "entities/prototypes.h"
#include "sim/input_script.h"
#include "sim/simulator.h"
#include "themes/themes.h"
#include "unit/test_support.h"
#include "world/level_text.h"
#include "world/play_context.h"

// A level text of one grid block: (row, its characters from column 0); rows not listed are
// empty. Record lines follow the block.
inline std::string gridLevel(const std::vector<std::pair<int, std::string>>& rows, const std::string& records = "") {
  std::string text = "grid\n";
  for (int row = 0; row < 30; ++row) {
    for (const auto& given : rows) {
      if (given.first == row) text += given.second;
    }
    text += "\n";
  }
  return text + "end\n" + records;
}

// A level written in the level text form and played headless through the game's PlayState,
// frame by frame, as binhopper-sim plays it. The progress record lives in memory.
class SimRun : public ::testing::Test {
 protected:
  // 1/64 s keeps every product and sum of the movement rules exact in binary, so expected
  // positions and speeds worked out by hand compare exactly.
  static constexpr double kDt = 1.0 / 64;  // s

  void SetUp() override {
    initAllegroForTests();
    createThemes();
    progress().records.clear();
    progress().deaths = 0;
  }
  void TearDown() override {
    sim.reset();
    progress().records.clear();
  }

  // Starts a play of the level with every key released, so no key reads as just pressed.
  void load(const std::string& text, int levelIndex = -1) { load(text, playedAtIndex(levelIndex)); }
  void load(const std::string& text, const PlayedLevel& played) {
    Result<std::string> level = compileLevelText(text, levelKinds());
    ASSERT_TRUE(level.ok()) << located(level.problem());
    std::string path = directory.file("test.lv");
    writeFileBytes(path, level.value());
    progress().ensureRecords(played.number);
    sim = std::make_unique<Simulator>(path.c_str(), played);
    sim->state().keyboard = ALLEGRO_KEYBOARD_STATE{};
    setCurrentState(&sim->state());
    refreshRootSwitches();
  }

  // `count` frames with the keys of `letters` (from "LRUDZX") held.
  void frames(int count, const std::string& letters = "", double dt = kDt) {
    std::vector<int> codes;
    ASSERT_TRUE(keyCodesOf(letters, codes)) << letters;
    for (int i = 0; i < count; ++i) sim->step(codes, dt);
  }

  Avatar& avatar() { return *sim->avatar(); }
  // The avatar's line of the simulator's trace: "av x y state vx vy status carrying".
  std::string avatarLine() {
    std::string trace = sim->trace();
    size_t start = trace.find("\nav ") + 1;
    return start == 0 ? "" : trace.substr(start, trace.find('\n', start) - start);
  }
  PlayContext& context() { return sim->session().context(); }

  std::unique_ptr<Simulator> sim;
  TempDir directory;
};

// The floor (row 28, channel 0) across the screen and the avatar standing on it at (100, 540).
inline std::string floorLevel(const std::string& records = "") {
  return gridLevel({{27, ".....A"}, {28, std::string(40, '0')}}, records);
}

// A SimRun whose kept runs and marks go to a fresh player directory of its own.
class PlayerDirectoryRun : public SimRun {
 protected:
  void SetUp() override {
    SimRun::SetUp();
    setPlayerDirectory(directory.path());
  }
  void TearDown() override {
    SimRun::TearDown();
    setPlayerDirectory("");
  }
};
