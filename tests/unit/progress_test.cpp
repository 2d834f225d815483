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
  record.deaths = 254;
  record.records = {{true, true, true, false, 12.5}, {true, false, false, true, 999.0}};
  ASSERT_TRUE(record.save());
  // 12.5 = 1.5625 * 2^3: exponent 0x402, fraction 0x9 -> 0x4029000000000000.
  // 999.0 = 1.951171875 * 2^9: exponent 0x408, fraction 0xF38 -> 0x408F380000000000.
  EXPECT_EQ(readFileBytes(record.path), "\xFE\0\0\0\x02"s + "\x01\x01\x01\x00"s + "\0\0\0\0\0\0\x29\x40"s +
                                            "\x01\x00\x00\x01"s + "\0\0\0\0\0\x38\x8F\x40"s);
  EXPECT_EQ(readFileBytes(record.path + ".tmp"), "") << "no temporary file is left behind";

  Progress reloaded;
  reloaded.path = record.path;
  reloaded.load(1);
  EXPECT_TRUE(reloaded.damageNote.empty());
  EXPECT_EQ(readFileBytes(record.path + ".bad"), "") << "a good file is not set aside";
  EXPECT_EQ(reloaded.deaths, 254);
  ASSERT_EQ(reloaded.records.size(), 2u) << "records beyond the level count stay";
  EXPECT_EQ(unlockedPattern(reloaded), (std::vector<bool>{true, true}));
  EXPECT_TRUE(reloaded.records[0].golden && !reloaded.records[0].silver && reloaded.records[1].silver);
  EXPECT_EQ(reloaded.records[0].bestTime, 12.5);
  std::string saved = readFileBytes(record.path);
  ASSERT_TRUE(reloaded.save());
  EXPECT_EQ(readFileBytes(record.path), saved) << "a good file round-trips unchanged";
}

// A damaged file is set aside byte for byte before anything is written, and of it only the
// valid whole records and a death count that is not negative are kept.
TEST_F(ProgressFile, DamagedFilesAreSetAsideAndKeepWhatCanBeTrusted) {
  const std::string tenSeconds = "\x01\x01\0\0"s + "\0\0\0\0\0\0\x24\x40"s;
  const std::string noTime = "\x01\x01\0\0"s + "\0\0\0\0\0\0\xF8\x7F"s;  // NaN
  const std::string zeroTime = "\x01\x01\0\0"s + std::string(8, '\0');
  const std::string flagTwo = "\x01\x02\0\0"s + "\0\0\0\0\0\0\x24\x40"s;
  const std::string deaths7 = "\x07\0\0\0"s;
  const std::tuple<const char*, std::string, int, std::vector<bool>> rows[] = {
      {"count 0 before three records", deaths7 + "\x00"s + tenSeconds + tenSeconds + tenSeconds, 7, {1, 1, 1, 0}},
      {"count 2 before three records", deaths7 + "\x02"s + tenSeconds + tenSeconds + tenSeconds, 7, {1, 1, 1, 0}},
      {"cut inside the third record", deaths7 + "\x03"s + tenSeconds + tenSeconds + "\x01\x01"s, 7, {1, 1, 0, 0}},
      {"empty file", "", 0, {0, 0, 0, 0}},
      {"negative deaths", "\xFF\xFF\xFF\xFF\x01"s + tenSeconds, 0, {1, 0, 0, 0}},
      {"flag byte 2", deaths7 + "\x02"s + flagTwo + tenSeconds, 7, {0, 1, 0, 0}},
      {"best time not a number, best time 0", deaths7 + "\x03"s + noTime + tenSeconds + zeroTime, 7, {0, 1, 0, 0}},
      {"197 bytes of 0xAB", std::string(197, '\xAB'), 0, {0, 0, 0, 0}},
  };
  writeFileBytes(record.path + ".bad", "an older copy");
  for (const auto& [label, bytes, deaths, completed] : rows) {
    SCOPED_TRACE(label);
    writeFileBytes(record.path, bytes);
    testing::internal::CaptureStdout();
    record.load(4);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(readFileBytes(record.path + ".bad"), bytes) << "copied byte for byte";
    EXPECT_EQ(readFileBytes(record.path), bytes) << "loading writes nothing over the file";
    EXPECT_EQ(record.damageNote,
              (std::vector<std::string>{
                  "The progress file '" + record.path + "' was damaged; what could be trusted in it was kept.",
                  "A copy of the damaged file is in '" + record.path + ".bad'."}));
    EXPECT_EQ(record.deaths, deaths);
    ASSERT_GE(record.records.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(record.records[i].completed, completed[i]) << "record " << i;
      EXPECT_EQ(record.records[i].bestTime, completed[i] ? 10.0 : kNoBestTime) << "record " << i;
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
  record.deaths = INT32_MAX - 1;
  record.countDeath();
  record.countDeath();
  EXPECT_EQ(record.deaths, INT32_MAX) << "the death counter saturates rather than wrapping negative";
}

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
  EXPECT_EQ(record.maximumPoints(), 9u);
}

}  // namespace
