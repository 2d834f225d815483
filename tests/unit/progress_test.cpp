#include "states/progress.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <tuple>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/level_count.h"
#include "unit/test_support.h"

namespace {

using namespace std::string_literals;

// Each test works in a fresh directory so that no real progress file is touched.
class ProgressFile : public ::testing::Test {
 protected:
  void SetUp() override { record.path = dir.file("binhopper.dat"); }

  TempDir dir;
  Progress record;
};

std::vector<bool> unlockedPattern(const Progress& progress) {
  std::vector<bool> pattern;
  for (const LevelRecord& level : progress.records) pattern.push_back(level.unlocked);
  return pattern;
}

TEST_F(ProgressFile, SavedBytesFollowTheLittleEndianLayout) {
  record.deaths = -2;
  record.records = {{true, true, true, false, 12.5}, {true, false, false, true, 999.0}};
  ASSERT_TRUE(record.save());
  // 12.5 = 1.5625 * 2^3: exponent 0x402, fraction 0x9 -> 0x4029000000000000.
  // 999.0 = 1.951171875 * 2^9: exponent 0x408, fraction 0xF38 -> 0x408F380000000000.
  EXPECT_EQ(readFileBytes(record.path), "\xFE\xFF\xFF\xFF\x02"s + "\x01\x01\x01\x00"s + "\0\0\0\0\0\0\x29\x40"s +
                                            "\x01\x00\x00\x01"s + "\0\0\0\0\0\x38\x8F\x40"s);
  EXPECT_EQ(readFileBytes(record.path + ".tmp"), "") << "no temporary file is left behind";

  Progress reloaded;
  reloaded.path = record.path;
  reloaded.load(1);
  EXPECT_EQ(reloaded.deaths, -2);
  ASSERT_EQ(reloaded.records.size(), 2u) << "records beyond the level count stay";
  EXPECT_EQ(unlockedPattern(reloaded), (std::vector<bool>{true, true}));
  EXPECT_TRUE(reloaded.records[0].golden && !reloaded.records[0].silver && reloaded.records[1].silver);
  EXPECT_EQ(reloaded.records[0].bestTime, 12.5);
}

TEST_F(ProgressFile, MissingFileGivesAFreshRecordSet) {
  record.deaths = 9;
  record.load(5);
  EXPECT_EQ(record.deaths, 0);
  EXPECT_EQ(unlockedPattern(record), (std::vector<bool>{true, true, true, false, false}));
  for (const LevelRecord& level : record.records) EXPECT_EQ(level.bestTime, kNoBestTime);
  EXPECT_EQ(record.unlockPoints(), 0u);
}

TEST_F(ProgressFile, FlagBytesCountWhenNotZeroAndShortCountsAreExtended) {
  // deaths 258, one record with flag bytes 7, 2, 0, 0x80 and best time 2.0 (0x4000000000000000).
  writeFileBytes(record.path, "\x02\x01\0\0\x01"s + "\x07\x02\0\x80"s + "\0\0\0\0\0\0\0\x40"s);
  record.load(3);
  EXPECT_EQ(record.deaths, 258);
  ASSERT_EQ(record.records.size(), 3u);
  const LevelRecord& first = record.records[0];
  EXPECT_TRUE(first.unlocked && first.completed && !first.golden && first.silver);
  EXPECT_EQ(first.bestTime, 2.0);
  EXPECT_EQ(unlockedPattern(record), (std::vector<bool>{true, true, true}));
}

TEST_F(ProgressFile, FileCutShortKeepsItsWholeRecords) {
  std::string tenSeconds = "\x01\x01\0\0"s + "\0\0\0\0\0\0\x24\x40"s;
  const std::tuple<const char*, std::string, int, size_t> rows[] = {
      {"empty file", "", 0, 0},
      {"deaths cut", "\x05\0"s, 0, 0},
      {"count missing", "\x05\0\0\0"s, 0, 0},
      {"two and a half of three records", "\x05\0\0\0\x03"s + tenSeconds + tenSeconds + "\x01\x01\x01\x01\0\0"s, 5, 2},
  };
  for (const auto& [label, bytes, deaths, recordsFromFile] : rows) {
    SCOPED_TRACE(label);
    writeFileBytes(record.path, bytes);
    testing::internal::CaptureStdout();
    record.load(4);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("cut short"), std::string::npos);
    EXPECT_EQ(record.deaths, deaths);
    ASSERT_EQ(record.records.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      bool fromFile = i < recordsFromFile;
      EXPECT_EQ(record.records[i].completed, fromFile) << "record " << i;
      EXPECT_EQ(record.records[i].bestTime, fromFile ? 10.0 : kNoBestTime) << "record " << i;
      EXPECT_EQ(record.records[i].unlocked, fromFile || i < 3) << "record " << i;
    }
  }
}

TEST_F(ProgressFile, FailedSaveLeavesTheOldFile) {
  writeFileBytes(record.path, "\x01\0\0\0\0"s);
  // A directory where the temporary file would go cannot be opened for writing, even by root.
  ASSERT_EQ(mkdir((record.path + ".tmp").c_str(), 0700), 0);
  record.deaths = 77;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(record.save());
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(readFileBytes(record.path), "\x01\0\0\0\0"s);
  EXPECT_EQ(printed.find("Unable to save progress to '" + record.path + "'"), 0u) << printed;
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
}

TEST(Progress, CompletionsUnlockByHowManyLevelsAreDone) {
  Progress record;
  record.ensureRecords(7);
  record.recordCompletion(5, false, 30.0);
  EXPECT_EQ(unlockedPattern(record), (std::vector<bool>{true, true, true, true, false, false, false}))
      << "one completion opens indexes 1 to 3, whichever level it was";
  record.recordCompletion(5, true, 10.0);
  EXPECT_FALSE(record.records[4].unlocked) << "completing the same level again opens nothing new";
  record.recordCompletion(0, false, 30.0);
  EXPECT_EQ(unlockedPattern(record), (std::vector<bool>{true, true, true, true, true, false, false}));
  record.recordCompletion(-1, true, 1.0);
  record.recordCompletion(7, true, 1.0);
  EXPECT_EQ(record.completedCount(), 2u) << "indexes outside the records are ignored";
}

// Indexes without a table entry get 100 s.
TEST(Progress, CrownsBestTimeAndTargetTimes) {
  Progress record;
  const double target = record.targetTime(2);
  const std::tuple<const char*, bool, double, bool, bool, double, unsigned> steps[] = {
      {"without all garbage: completed only", false, 5.0, false, false, kNoBestTime, 1},
      {"all garbage exactly at the target: golden, not silver", true, target, true, false, target, 2},
      {"all garbage slower: best time stays", true, target + 1, true, false, target, 2},
      {"all garbage just under the target: silver", true, target - 0.01, true, true, target - 0.01, 3},
      {"faster without all garbage: best time stays", false, 1.0, true, true, target - 0.01, 3},
  };
  record.ensureRecords(3);
  for (const auto& [label, allGarbage, elapsed, golden, silver, bestTime, points] : steps) {
    SCOPED_TRACE(label);
    record.recordCompletion(2, allGarbage, elapsed);
    const LevelRecord& level = record.records[2];
    EXPECT_TRUE(level.completed);
    EXPECT_EQ(level.golden, golden);
    EXPECT_EQ(level.silver, silver);
    EXPECT_EQ(level.bestTime, bestTime);
    EXPECT_EQ(record.unlockPoints(), points);
  }
  EXPECT_EQ(record.targetTime(16), 100.0) << "beyond the table";
  EXPECT_EQ(record.targetTime(-1), 100.0) << "a level that is not numbered";
  EXPECT_EQ(record.maximumPoints(), 9u);
}

// The level tables of README.md and docs/levels.md show the game's own target times, one row
// per level file (tests/sim/level_solutions.sh reads them from docs/levels.md).
TEST(Progress, DocumentedTargetTimesAreTheGamesOwn) {
  const Progress record;
  for (const char* document : {"README.md", "docs/levels.md"}) {
    SCOPED_TRACE(document);
    std::ifstream file(document);
    ASSERT_TRUE(file) << "cannot read it";
    int targetColumn = -1;
    int rows = 0;
    for (std::string line; std::getline(file, line);) {
      std::vector<std::string> cells;
      std::stringstream row(line);
      for (std::string cell; std::getline(row, cell, '|');) cells.push_back(cell);
      if (cells.size() < 3 || !cells[0].empty()) continue;
      auto header = std::find(cells.begin(), cells.end(), " Target time ");
      if (header != cells.end()) targetColumn = static_cast<int>(header - cells.begin());
      int number = std::atoi(cells[1].c_str());
      if (targetColumn < 0 || number != rows + 1) continue;
      EXPECT_EQ(std::stod(cells[targetColumn]), record.targetTime(rows)) << "level " << number;
      ++rows;
    }
    EXPECT_EQ(rows, countLevels()) << "rows in the level table";
  }
}

}  // namespace
