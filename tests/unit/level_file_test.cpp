#include "world/level_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "entities/prototypes.h"
#include "game/fatal.h"
#include "unit/test_support.h"
#include "world/tile.h"

namespace {

using namespace std::string_literals;

class LevelFile : public ::testing::Test {
 protected:
  void SetUp() override { initAllegroForTests(); }

  // Reads the bytes into a fresh world and flushes it.
  Result<> load(const std::string& bytes) {
    world = std::make_unique<World>();
    writeFileBytes(dir.file("in.lv"), bytes);
    Result<> result = readLevel(dir.file("in.lv").c_str(), *world);
    world->flush();
    return result;
  }
  std::string save() {
    EXPECT_TRUE(writeLevel(dir.file("out.lv").c_str(), *world).ok());
    return readFileBytes(dir.file("out.lv"));
  }
  std::vector<Entity*>& entities() { return world->byTag(tagOf("entt")); }

  TempDir dir;
  std::unique_ptr<World> world = std::make_unique<World>();
};

TEST_F(LevelFile, EndOfALevel) {
  const std::tuple<const char*, std::string, size_t> rows[] = {
      {"empty file", "", 0},
      {"one trailing byte after a record", "tl\x01\x01\x00t"s, 1},
      {"0xFF as first code byte ends it", "tl\x01\x01\x00\xFFtl\x02\x02\x00"s, 1},
      {"0xFF is fine as a data byte", "tl\xFF\x01\x00"s, 1},
  };
  for (const auto& [label, bytes, count] : rows) {
    Result<> result = load(bytes);
    EXPECT_TRUE(result.ok()) << label << ": " << result.problem().message;
    EXPECT_EQ(entities().size(), count) << label;
  }
}

TEST_F(LevelFile, BadFilesAreRejectedWithTheOffsetAndAddNothing) {
  const std::string good = "tl\x01\x01\x00"s;
  const Failure cut = Failure::Malformed, unknown = Failure::UnknownRecord;
  // A malformed record's message starts with this.
  const std::string malformed = "MALFORMED '" + dir.file("in.lv") + "' ";
  const std::tuple<const char*, std::string, Failure, long long, std::string> rows[] = {
      {"ends after the code", good + "tl", cut, 5, "AT BYTE 5: the file ends inside the \"tl\" record!!!"},
      {"ends before the channel", good + good + "tl\x02\x02"s, cut, 10,
       "AT BYTE 10: the file ends inside the \"tl\" record!!!"},
      {"sign text without its $", "ms\x03\x04Hel"s, cut, 0, "AT BYTE 0: the file ends inside the \"ms\" record!!!"},
      {"tile channel 10", good + "tl\x02\x02\x0a"s, cut, 5, "AT BYTE 5: tile channel 10 is outside 0 to 9!!!"},
      {"tile channel 255", "tl\x02\x02\xff"s, cut, 0, "AT BYTE 0: tile channel 255 is outside 0 to 9!!!"},
      {"lever channel 10", "gb\x01\x01vr\x01\x01\x0A\x00"s, cut, 4, "AT BYTE 4: lever channel 10 is outside 0 to 9!!!"},
      {"press pad channel 255", "pr\x01\x01\xFF\x01"s, cut, 0, "AT BYTE 0: press pad channel 255 is outside 0 to 9!!!"},
      {"unknown code", good + "zz\x01\x01"s, unknown, 5, "UNMAPPABLE 'zz'!!!"},
      {"control bytes are not printed raw", "\x01q\x00\x00"s, unknown, 0, "UNMAPPABLE '\\x01q'!!!"},
  };
  for (const auto& [label, bytes, error, byte, message] : rows) {
    SCOPED_TRACE(label);
    Result<> result = load(bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.kind(), error);
    EXPECT_EQ(result.problem().message, (error == cut ? malformed : "") + message);
    EXPECT_EQ(result.problem().file, dir.file("in.lv"));
    EXPECT_EQ(result.problem().byte, byte);
    EXPECT_TRUE(entities().empty());
  }
  std::string missing = dir.file("missing.lv");
  Result<> absent = readLevel(missing.c_str(), *world);
  ASSERT_FALSE(absent.ok());
  EXPECT_EQ(absent.kind(), Failure::CannotOpen);
  EXPECT_EQ(absent.problem().message, "CANNOT OPEN '" + missing + "'!!!");
}

// What the menu and the editor show a player: the plain sentence naming the file first, the
// loader's own line below it.
TEST_F(LevelFile, FailuresAreToldInPlainWordsAboveTheLoadersLine) {
  Result<> cut = load("tl\x01\x01\x00tl"s);
  ASSERT_FALSE(cut.ok());
  EXPECT_EQ(
      loadFailureLines(cut.problem()),
      (std::vector<std::string>{
          dir.file("in.lv") + " is not a level file (it stops at byte 5: the file ends inside the \"tl\" record).",
          cut.problem().message}));
  std::string missing = dir.file("missing.lv");
  EXPECT_EQ(plainLoadFailure(readLevel(missing.c_str(), *world).problem()),
            missing + " cannot be opened (it or its folder is missing, or access is refused).");
  // What is there but is no file is named by its kind, not taken for a missing file.
  std::string fifo = dir.file("pipe.lv");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const auto& [path, kind] : {std::pair<std::string, std::string>{dir.path(), "a folder"},
                                   {fifo, "a named pipe"},
                                   {"/dev/zero", "a device"}}) {
    Result<> read = readLevel(path.c_str(), *world);
    ASSERT_FALSE(read.ok()) << path;
    EXPECT_EQ(read.kind(), Failure::NotAFile) << path;
    EXPECT_EQ(plainLoadFailure(read.problem()), path + " is " + kind + ", not a file the game reads.");
  }
}

// A play state cannot return a failed load; it goes to the program's handler, and the game's
// prints the loader's line and exits 1. The child runs the test again from the start and ends
// by exit, so the files live in the build folder.
TEST(LevelFileExit, TheGameEndsOnALevelItCannotLoadWithTheLoadersLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  initAllegroForTests();
  World world;
  std::string path = BINHOPPER_BINARY_DIR "/unknown-code-test.lv";
  writeFileBytes(path, "zz\x01\x01"s);
  setLoadFailureHandler(endWithLoadFailure);
  EXPECT_EXIT((sendStdoutToStderr(), loadLevel(path.c_str(), world)), ::testing::ExitedWithCode(1),
              "^UNMAPPABLE 'zz'!!!\n$");
  setLoadFailureHandler(nullptr);
  std::remove(path.c_str());
}

}  // namespace
