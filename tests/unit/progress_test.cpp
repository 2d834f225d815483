#include "states/progress.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Each test works in a fresh directory so that no real progress file is touched.
class ProgressFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/binhopper_progress_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
    record.path = directory + "/binhopper.dat";
  }
  void TearDown() override { std::system(("rm -rf " + directory).c_str()); }

  void writeFile(const Bytes& bytes) {
    std::ofstream out(record.path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  std::string directory;
  Progress record;
};

std::vector<bool> unlockedPattern(const Progress& progress) {
  std::vector<bool> pattern;
  for (const LevelRecord& level : progress.records) pattern.push_back(level.unlocked);
  return pattern;
}

TEST_F(ProgressFile, SavedBytesFollowTheLittleEndianLayout) {
  record.deaths = -2;
  record.records.resize(2);
  record.records[0] = {true, true, true, false, 12.5};
  record.records[1] = {true, false, false, true, 999.0};
  ASSERT_TRUE(record.save());
  // 12.5 = 1.5625 * 2^3: exponent 0x402, fraction 0x9 -> 0x4029000000000000.
  // 999.0 = 1.951171875 * 2^9: exponent 0x408, fraction 0xF38 -> 0x408F380000000000.
  Bytes expected = {0xFE, 0xFF, 0xFF, 0xFF, 2, 1, 1, 1, 0, 0, 0, 0,    0,    0,   0,
                    0x29, 0x40, 1,    0,    0, 1, 0, 0, 0, 0, 0, 0x38, 0x8F, 0x40};
  EXPECT_EQ(readFile(record.path), expected);
  EXPECT_EQ(readFile(record.path + ".tmp"), Bytes()) << "no temporary file is left behind";

  Progress reloaded;
  reloaded.path = record.path;
  reloaded.load(1);
  EXPECT_EQ(reloaded.deaths, -2);
  ASSERT_EQ(reloaded.records.size(), 2u) << "records beyond the level count stay";
  EXPECT_EQ(unlockedPattern(reloaded), (std::vector<bool>{true, true}));
  EXPECT_TRUE(reloaded.records[0].golden);
  EXPECT_FALSE(reloaded.records[0].silver);
  EXPECT_EQ(reloaded.records[0].bestTime, 12.5);
  EXPECT_TRUE(reloaded.records[1].silver);
}

TEST_F(ProgressFile, MissingFileGivesAFreshRecordSet) {
  record.deaths = 9;
  record.load(5);
  EXPECT_EQ(record.deaths, 0);
  EXPECT_EQ(unlockedPattern(record), (std::vector<bool>{true, true, true, false, false}));
  for (const LevelRecord& level : record.records) EXPECT_EQ(level.bestTime, 999.0);
  EXPECT_EQ(record.unlockPoints(), 0u);
}

TEST_F(ProgressFile, FlagBytesCountWhenNotZeroAndShortCountsAreExtended) {
  // deaths 258, one record with odd flag values and best time 2.0 (0x4000000000000000).
  writeFile({0x02, 0x01, 0, 0, 1, 7, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0x40});
  record.load(3);
  EXPECT_EQ(record.deaths, 258);
  ASSERT_EQ(record.records.size(), 3u);
  EXPECT_TRUE(record.records[0].unlocked);
  EXPECT_FALSE(record.records[0].completed);
  EXPECT_TRUE(record.records[0].golden);
  EXPECT_EQ(record.records[0].bestTime, 2.0);
  EXPECT_EQ(unlockedPattern(record), (std::vector<bool>{true, true, true}));
}

TEST_F(ProgressFile, FileCutShortKeepsItsWholeRecords) {
  struct Row {
    const char* label;
    Bytes bytes;
    int deaths;
    size_t recordsFromFile;
  };
  Bytes twoRecordsAndAHalf = {5, 0, 0, 0, 3};
  for (int i = 0; i < 2; ++i)
    twoRecordsAndAHalf.insert(twoRecordsAndAHalf.end(), {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0x24, 0x40});
  twoRecordsAndAHalf.insert(twoRecordsAndAHalf.end(), {1, 1, 1, 1, 0, 0});
  const Row rows[] = {
      {"empty file", {}, 0, 0},
      {"deaths cut", {5, 0}, 0, 0},
      {"count missing", {5, 0, 0, 0}, 0, 0},
      {"two and a half of three records", twoRecordsAndAHalf, 5, 2},
  };
  for (const Row& row : rows) {
    writeFile(row.bytes);
    testing::internal::CaptureStdout();
    record.load(4);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("cut short"), std::string::npos) << row.label;
    EXPECT_EQ(record.deaths, row.deaths) << row.label;
    ASSERT_EQ(record.records.size(), 4u) << row.label;
    for (size_t i = 0; i < row.recordsFromFile; ++i) {
      EXPECT_TRUE(record.records[i].completed) << row.label;
      EXPECT_EQ(record.records[i].bestTime, 10.0) << row.label;
    }
    for (size_t i = row.recordsFromFile; i < 4; ++i) {
      EXPECT_FALSE(record.records[i].completed) << row.label << " record " << i;
      EXPECT_EQ(record.records[i].unlocked, i < 3) << row.label << " record " << i;
    }
  }
}

TEST_F(ProgressFile, FailedSaveLeavesTheOldFile) {
  Bytes old = {1, 0, 0, 0, 0};
  writeFile(old);
  // A directory where the temporary file would go cannot be opened for writing, even by root.
  ASSERT_EQ(mkdir((record.path + ".tmp").c_str(), 0700), 0);
  record.deaths = 77;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(record.save());
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(readFile(record.path), old);
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
  EXPECT_EQ(record.completedCount(), 1u);
  EXPECT_FALSE(record.records[4].unlocked) << "completing the same level again opens nothing new";
  record.recordCompletion(0, false, 30.0);
  EXPECT_EQ(unlockedPattern(record), (std::vector<bool>{true, true, true, true, true, false, false}));
  record.recordCompletion(-1, true, 1.0);
  record.recordCompletion(7, true, 1.0);
  EXPECT_EQ(record.completedCount(), 2u) << "indexes outside the records are ignored";
}

TEST(Progress, CrownsAndBestTime) {
  struct Step {
    const char* label;
    bool allGarbage;
    double elapsed;
    bool golden, silver;
    double bestTime;
    unsigned points;
  };
  // Level index 2 has the target time 13.5 s.
  const Step steps[] = {
      {"without all garbage: completed only", false, 5.0, false, false, 999.0, 1},
      {"all garbage exactly at the target: golden, not silver", true, 13.5, true, false, 13.5, 2},
      {"all garbage slower: best time stays", true, 20.0, true, false, 13.5, 2},
      {"all garbage just under the target: silver", true, 13.49, true, true, 13.49, 3},
      {"faster without all garbage: best time stays", false, 1.0, true, true, 13.49, 3},
  };
  Progress record;
  record.ensureRecords(3);
  for (const Step& step : steps) {
    record.recordCompletion(2, step.allGarbage, step.elapsed);
    const LevelRecord& level = record.records[2];
    EXPECT_TRUE(level.completed) << step.label;
    EXPECT_EQ(level.golden, step.golden) << step.label;
    EXPECT_EQ(level.silver, step.silver) << step.label;
    EXPECT_EQ(level.bestTime, step.bestTime) << step.label;
    EXPECT_EQ(record.unlockPoints(), step.points) << step.label;
  }
}

TEST(Progress, TargetTimes) {
  Progress record;
  EXPECT_EQ(record.targetTime(0), 15.0);
  EXPECT_EQ(record.targetTime(6), 10.6);
  EXPECT_EQ(record.targetTime(13), 18.0);
  EXPECT_EQ(record.targetTime(15), 100.0);
  EXPECT_EQ(record.targetTime(16), 100.0) << "beyond the table";
  EXPECT_EQ(record.targetTime(-1), 100.0) << "a level that is not numbered";
}

}  // namespace
