#include "campaign/progress.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "unit/test_support.h"

namespace {

using namespace std::string_literals;

// Each test works in a fresh directory so that no real progress file is touched.
class ProgressFile : public ::testing::Test {
 protected:
  void SetUp() override { record.path = dir.file("binhopper.dat"); }

  // Another game's record, read from the same file.
  Progress loadedAgain(int levels) const {
    Progress other;
    other.path = record.path;
    other.load(levels);
    return other;
  }

  std::string damagedLine() const {
    return "The progress file '" + record.path + "' was damaged; what could be trusted in it was kept.";
  }

  TempDir dir;
  Progress record;
};

// Ten seconds as the little-endian double a record's best time is.
const std::string kTenSeconds = "\0\0\0\0\0\0\x24\x40"s;

// What `act` prints to standard output, kept out of the test's own.
template <typename Act>
std::string printedBy(Act act) {
  testing::internal::CaptureStdout();
  act();
  return testing::internal::GetCapturedStdout();
}

// One character per record, "1" where the flag is set: flagsOf(record, &LevelRecord::completed).
std::string flagsOf(const Progress& progress, bool LevelRecord::*flag) {
  std::string pattern;
  for (const LevelRecord& level : progress.records) pattern += level.*flag ? '1' : '0';
  return pattern;
}

std::set<std::string> entriesIn(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.insert(entry.path().filename());
  return names;
}

TEST_F(ProgressFile, SavedBytesFollowTheLittleEndianLayout) {
  record.deaths = 254;
  record.records = {{true, true, true, false, 12.5}, {true, false, false, true, 999.0}};
  ASSERT_TRUE(record.save().ok);
  // 12.5 = 1.5625 * 2^3: exponent 0x402, fraction 0x9 -> 0x4029000000000000.
  // 999.0 = 1.951171875 * 2^9: exponent 0x408, fraction 0xF38 -> 0x408F380000000000.
  EXPECT_EQ(readFileBytes(record.path), "\xFE\0\0\0\x02"s + "\x01\x01\x01\x00"s + "\0\0\0\0\0\0\x29\x40"s +
                                            "\x01\x00\x00\x01"s + "\0\0\0\0\0\x38\x8F\x40"s);

  Progress reloaded = loadedAgain(1);
  EXPECT_EQ(readFileBytes(record.path + ".bad"), "") << "a good file is not set aside";
  EXPECT_EQ(reloaded.deaths, 254);
  ASSERT_EQ(reloaded.records.size(), 2u) << "records beyond the level count stay";
  EXPECT_EQ(flagsOf(reloaded, &LevelRecord::unlocked), "11");
  EXPECT_TRUE(reloaded.records[0].golden && !reloaded.records[0].silver && reloaded.records[1].silver);
  EXPECT_EQ(reloaded.records[0].bestTime, 12.5);
  std::string saved = readFileBytes(record.path);
  ASSERT_TRUE(reloaded.save().ok);
  EXPECT_EQ(readFileBytes(record.path), saved) << "a good file round-trips unchanged";
}

// A damaged file is set aside byte for byte before anything is written, beside every copy set
// aside before (never over one), and of it only the valid whole records and a death count that
// is not negative are kept.
TEST_F(ProgressFile, DamagedFilesAreSetAsideAndKeepWhatCanBeTrusted) {
  const std::string tenSeconds = "\x01\x01\0\0"s + kTenSeconds;
  const std::string noTime = "\x01\x01\0\0"s + "\0\0\0\0\0\0\xF8\x7F"s;  // NaN
  const std::string zeroTime = "\x01\x01\0\0"s + std::string(8, '\0');
  const std::string flagTwo = "\x01\x02\0\0"s + kTenSeconds;
  const std::string deaths7 = "\x07\0\0\0"s;
  const std::tuple<const char*, std::string, int, std::vector<bool>> rows[] = {
      {"count 0 before three records", deaths7 + "\x00"s + tenSeconds + tenSeconds + tenSeconds, 7, {1, 1, 1, 0}},
      {"count 2 before three records", deaths7 + "\x02"s + tenSeconds + tenSeconds + tenSeconds, 7, {1, 1, 1, 0}},
      {"cut inside the third record", deaths7 + "\x03"s + tenSeconds + tenSeconds + "\x01\x01"s, 7, {1, 1, 0, 0}},
      {"negative deaths", "\xFF\xFF\xFF\xFF\x01"s + tenSeconds, 0, {1, 0, 0, 0}},
      {"flag byte 2", deaths7 + "\x02"s + flagTwo + tenSeconds, 7, {0, 1, 0, 0}},
      {"best time not a number, best time 0", deaths7 + "\x03"s + noTime + tenSeconds + zeroTime, 7, {0, 1, 0, 0}},
      {"197 bytes of 0xAB", std::string(197, '\xAB'), 0, {0, 0, 0, 0}},
  };
  writeFileBytes(record.path + ".bad", "an older copy");
  int copies = 1;
  for (const auto& [label, bytes, deaths, completed] : rows) {
    SCOPED_TRACE(label);
    writeFileBytes(record.path, bytes);
    printedBy([&] { record.load(4); });
    const std::string copy = record.path + ".bad." + std::to_string(copies++);
    EXPECT_EQ(readFileBytes(copy), bytes) << "copied byte for byte";
    EXPECT_EQ(readFileBytes(record.path), bytes) << "loading writes nothing over the file";
    EXPECT_EQ(record.damageNote,
              (std::vector<std::string>{damagedLine(), "A copy of the damaged file is in '" + copy + "'."}));
    EXPECT_EQ(record.deaths, deaths);
    ASSERT_GE(record.records.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(record.records[i].completed, completed[i]) << "record " << i;
      EXPECT_EQ(record.records[i].bestTime, completed[i] ? 10.0 : kNoBestTime) << "record " << i;
    }
  }
  EXPECT_EQ(readFileBytes(record.path + ".bad"), "an older copy");
}

// Plays steps such as "A load 4, B complete 2 9.5, A die, B save, A revert" with two games, A
// and B, on one file: "complete L T" completes level L with all its loose garbage in T seconds,
// "complete L" without it; "revert" puts back the file as it was before the first step.
void playSteps(const std::string& steps, Progress (&games)[2], const std::string& path) {
  const std::string older = readFileBytes(path);
  std::istringstream list(steps);
  std::string step;
  while (std::getline(list, step, ',')) {
    std::istringstream words(step);
    char game = 0;
    std::string verb;
    int number = 0;
    double elapsed = kNoBestTime;
    words >> game >> verb >> number >> elapsed;
    Progress& record = games[game - 'A'];
    record.path = path;
    if (verb == "load") record.load(number);
    if (verb == "complete") record.recordCompletion(number, elapsed < kNoBestTime, elapsed);
    if (verb == "die") record.countDeath();
    if (verb == "save") {
      EXPECT_TRUE(record.save().ok) << step;
    }
    if (verb == "revert") writeFileBytes(path, older);
  }
}

// Each game's completions, flags and deaths surviving the other's saves is
// tests/system/two_writers.sh.
TEST_F(ProgressFile, TwoGamesOnOneFileKeepEachOthersProgress) {
  const double none = kNoBestTime;
  // The steps from a file of 4 records and 5 deaths; then what the file holds: deaths,
  // completed and unlocked flags, the best time of level 3; and which game saved last.
  const std::tuple<const char*, const char*, int, const char*, const char*, double, char> rows[] = {
      {"each game's completion survives the other's save",
       "A load 4, B load 4, A complete 0, B complete 1, A save, B save", 5, "1100", "1111", none, 'B'},
      {"deaths: the file's count plus each game's new deaths",
       "A load 4, B load 4, A die, A die, A save, B die, B die, B die, B save, A die, A save", 11, "0000", "1110", none,
       'A'},
      {"the smaller best time wins, whichever game saves last",
       "A load 4, B load 4, A complete 2 9.0, B complete 2 12.0, A save, B save", 5, "0010", "1111", 9.0, 'B'},
      {"a file gone back to an older copy loses none of this game's deaths",
       "A load 4, A die, A die, A save, A revert, A die, A save", 8, "0000", "1110", none, 'A'},
      {"records only the other game knows are kept, but count only in a game that has their levels",
       "B load 4, A load 6, A complete 5, A save, B complete 0, B save", 5, "100001", "111100", none, 'B'},
  };
  for (const auto& [label, steps, deaths, completed, unlocked, bestTime, lastToSave] : rows) {
    SCOPED_TRACE(label);
    std::filesystem::remove(record.path);
    Progress start = loadedAgain(4);
    start.deaths = 5;
    ASSERT_TRUE(start.save().ok);
    Progress games[2];
    playSteps(steps, games, record.path);
    Progress stored = loadedAgain(0);
    EXPECT_TRUE(stored.damageNote.empty());
    EXPECT_EQ(stored.deaths, deaths);
    EXPECT_EQ(flagsOf(stored, &LevelRecord::completed), completed);
    EXPECT_EQ(flagsOf(stored, &LevelRecord::unlocked), unlocked);
    EXPECT_EQ(stored.records[2].bestTime, bestTime);
    const Progress& last = games[lastToSave - 'A'];
    EXPECT_EQ(last.deaths, deaths) << "the game that saved last goes on from the merged record";
    EXPECT_EQ(flagsOf(last, &LevelRecord::completed), completed);
  }
}

// A file that exists but cannot be read, or a damaged one that cannot be set aside (ten copies
// kept already, whatever they are), is left alone: the record is fresh, saving is refused, and
// the player is told once.
TEST_F(ProgressFile, AFileThatCannotBeSetAsideIsNeverReplaced) {
  const std::string damaged = "\x07\0\0\0\x02"s;  // deaths 7, two records missing
  writeFileBytes(record.path, damaged);
  ASSERT_EQ(mkdir((record.path + ".bad").c_str(), 0700), 0);
  for (int copy = 1; copy < 10; ++copy) writeFileBytes(record.path + ".bad." + std::to_string(copy), "a copy");
  FileResult kept, saved;
  std::string printed = printedBy([&] {
    record.load(3);
    record.recordCompletion(0, true, 1.0);
    kept = record.keep();
    saved = record.save();
  });
  const std::vector<std::string> note = {damagedLine(),
                                         "The damaged file could not be copied to '" + record.path +
                                             ".bad': 10 damaged copies are kept already; remove some of them.",
                                         "Progress will not be saved in this run; the file is left as it is."};
  EXPECT_EQ(record.damageNote, note);
  EXPECT_EQ(printed, note[0] + "\n" + note[1] + "\n" + note[2] + "\n") << "told once, saves add nothing";
  EXPECT_TRUE(kept.ok) << "keeping writes nothing and fails nothing new";
  EXPECT_FALSE(saved.ok);
  EXPECT_EQ(saved.reason, "10 damaged copies are kept already; remove some of them");
  EXPECT_EQ(readFileBytes(record.path), damaged);
  EXPECT_FALSE(std::filesystem::exists(record.path + ".bad.10"));
}

// A valid file followed by 65 MB of zeros: read only as far as a record can reach, and of it the
// valid records kept (not 255 empty ones). OddFiles.Progress sees an oversized file set aside whole.
TEST_F(ProgressFile, AnOversizedFileIsDamagedAndSetAsideWhole) {
  const std::string valid = "\x07\0\0\0\x02"s + "\x01\x01\x01\x01"s + kTenSeconds + "\x01\x01\x01\0"s + kTenSeconds;
  const std::uintmax_t size = 65 << 20;
  writeFileBytes(record.path, valid);
  ASSERT_EQ(truncate(record.path.c_str(), size), 0);
  printedBy([&] { record.load(3); });
  EXPECT_EQ(record.deaths, 7);
  EXPECT_EQ(flagsOf(record, &LevelRecord::completed), "110");
  EXPECT_TRUE(record.records[0].silver && !record.records[1].silver);
  const std::set<std::string> files = {"binhopper.dat", "binhopper.dat.bad", "binhopper.dat.lock"};
  printedBy([&] { loadedAgain(3); });
  EXPECT_EQ(entriesIn(dir.path()), files) << "a second game setting the same file aside leaves nothing behind";
  FileResult saved;
  EXPECT_EQ(printedBy([&] { saved = record.save(); }), "") << "the file set aside at load is not set aside again";
  ASSERT_TRUE(saved.ok);
  EXPECT_EQ(entriesIn(dir.path()), files);
  EXPECT_EQ(readFileBytes(record.path).size(), 5u + 12 * 3);
  EXPECT_EQ(std::filesystem::file_size(record.path + ".bad"), size)
      << "the copy outlives the save that replaces the file";
}

TEST(Progress, CompletionsUnlockByHowManyLevelsAreDone) {
  Progress record;
  record.ensureRecords(7);
  record.recordCompletion(5, false, 30.0);
  EXPECT_EQ(flagsOf(record, &LevelRecord::unlocked), "1111000")
      << "one completion opens indexes 1 to 3, whichever level it was";
  record.recordCompletion(5, true, 10.0);
  EXPECT_FALSE(record.records[4].unlocked) << "completing the same level again opens nothing new";
  record.recordCompletion(0, false, 30.0);
  EXPECT_EQ(flagsOf(record, &LevelRecord::unlocked), "1111100");
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
    EXPECT_EQ(level.golden, golden);
    EXPECT_EQ(level.silver, silver);
    EXPECT_EQ(level.bestTime, bestTime);
    EXPECT_EQ(record.unlockPoints(), points);
  }
}

}  // namespace
