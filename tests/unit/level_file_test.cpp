#include "world/level_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

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
  LevelFileResult load(const std::string& bytes) {
    world = std::make_unique<World>();
    writeFileBytes(dir.file("in.lv"), bytes);
    LevelFileResult result = readLevel(dir.file("in.lv").c_str(), *world);
    world->flush();
    return result;
  }
  std::string save() {
    EXPECT_TRUE(writeLevel(dir.file("out.lv").c_str(), *world).ok);
    return readFileBytes(dir.file("out.lv"));
  }
  std::vector<Entity*>& entities() { return world->byTag(tagOf("entt")); }

  TempDir dir;
  std::unique_ptr<World> world = std::make_unique<World>();
};

// Records read back what was written, byte for byte, in file order (signs sort after every
// other kind in the saved order, so the message comes last).
TEST_F(LevelFile, RecordsRoundTripByteForByte) {
  // The bytes and (x, y) of the first entity.
  const std::tuple<const char*, std::string, double, double> rows[] = {
      {"tiles in file order", "tl\x03\x07\x02tl\x00\x1d\x00tl\x27\x00\x04tl\x03\x07\x09"s, 60, 140},
      {"avatar 0x05 0x1C", "av\x05\x1c"s, 100, 560},
      {"lever on channel 2, on", "vr\x0A\x0F\x02\x01"s, 200, 300},
      {"the Hello sign", "ms\x03\x04Hello$"s, 60, 80},
      {"every kind",
       "tl\x01\x02\x03"s + "av\x05\x1c"s + "vr\x0A\x0F\x02\x01"s + "pr\x01\x02\x09\x00"s + "ct\x03\x04\x05"s +
           "ff\x05\x06\x00"s + "bd\x07\x08\x01"s + "gb\x01\x01"s + "lg\x02\x02"s + "sp\x03\x03"s + "fw\x04\x04"s +
           "ms\x03\x04Hello$"s,
       20, 40},
  };
  for (const auto& [label, bytes, x, y] : rows) {
    SCOPED_TRACE(label);
    ASSERT_TRUE(load(bytes).ok);
    ASSERT_FALSE(entities().empty());
    EXPECT_EQ(entities()[0]->position(), std::make_pair(x, y));
    EXPECT_EQ(save(), bytes);
  }
  EXPECT_EQ(editorLabel(*world->first(tagOf("mesg"))), "message");
  EXPECT_EQ(editorLabel(*world->first(tagOf("levr"))), "lever(2,on)");
}

TEST_F(LevelFile, SavedPositionsAreWholeCellsTruncated) {
  Tile* tile = new Tile(1, nullptr, 0, 0);
  tile->setPosition(399.9, 19.99);
  world->add(tile);
  world->flush();
  EXPECT_EQ(save(), "tl\x13\x00\x01"s) << "399.9 / 20 -> 19, 19.99 -> 0";
}

TEST_F(LevelFile, EndOfALevel) {
  const std::tuple<const char*, std::string, size_t> rows[] = {
      {"empty file", "", 0},
      {"one byte", "t", 0},
      {"one trailing byte after a record", "tl\x01\x01\x00t"s, 1},
      {"0xFF as first code byte ends it", "tl\x01\x01\x00\xFFtl\x02\x02\x00"s, 1},
      {"0xFF as second code byte ends it", "tl\x01\x01\x00t\xFF"s, 1},
      {"0xFF is fine as a data byte", "tl\xFF\x01\x00"s, 1},
  };
  for (const auto& [label, bytes, count] : rows) {
    LevelFileResult result = load(bytes);
    EXPECT_TRUE(result.ok) << label << ": " << result.message;
    EXPECT_EQ(entities().size(), count) << label;
  }
}

TEST_F(LevelFile, MalformedFilesAreRejectedWithTheOffsetAndAddNothing) {
  std::string good = "tl\x01\x01\x00"s;
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {"ends after the code", good + "tl", "AT BYTE 5: the file ends inside the \"tl\" record!!!"},
      {"ends before the channel", good + good + "tl\x02\x02"s, "AT BYTE 10: the file ends inside the \"tl\" record!!!"},
      {"sign text without its $", "ms\x03\x04Hel"s, "AT BYTE 0: the file ends inside the \"ms\" record!!!"},
      {"tile channel 10", good + "tl\x02\x02\x0a"s, "AT BYTE 5: tile channel 10 is outside 0 to 9!!!"},
      {"tile channel 255", "tl\x02\x02\xff"s, "AT BYTE 0: tile channel 255 is outside 0 to 9!!!"},
      {"lever channel 10", "gb\x01\x01vr\x01\x01\x0A\x00"s, "AT BYTE 4: lever channel 10 is outside 0 to 9!!!"},
      {"press pad channel 255", "pr\x01\x01\xFF\x01"s, "AT BYTE 0: press pad channel 255 is outside 0 to 9!!!"},
  };
  for (const auto& [label, bytes, message] : rows) {
    LevelFileResult result = load(bytes);
    EXPECT_FALSE(result.ok) << label;
    EXPECT_EQ(result.message, "MALFORMED '" + dir.file("in.lv") + "' " + message) << label;
    EXPECT_TRUE(entities().empty()) << label;
  }
}

TEST_F(LevelFile, UnknownCodeAndMissingFileAreReported) {
  EXPECT_EQ(load("tl\x01\x01\x00zz\x01\x01"s).message, "UNMAPPABLE 'zz'!!!");
  EXPECT_TRUE(entities().empty());
  EXPECT_EQ(load("\x01q\x00\x00"s).message, "UNMAPPABLE '\\x01q'!!!") << "control bytes are not printed raw";
  std::string missing = dir.file("missing.lv");
  EXPECT_EQ(readLevel(missing.c_str(), *world).message, "CANNOT OPEN '" + missing + "'!!!");
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
  EXPECT_EXIT((sendStdoutToStderr(), loadLevel(BINHOPPER_BINARY_DIR "/missing-level-test.lv", world)),
              ::testing::ExitedWithCode(1), "^CANNOT OPEN '.*/missing-level-test.lv'!!!\n$");
  setLoadFailureHandler(nullptr);
  LevelFileResult unwritable = writeLevel(levelKinds(), BINHOPPER_BINARY_DIR "/no/such/dir.lv", world);
  EXPECT_EQ(unwritable.path, BINHOPPER_BINARY_DIR "/no/such/dir.lv");
  EXPECT_EQ(unwritable.message, "CANNOT OPEN '" BINHOPPER_BINARY_DIR "/no/such/dir.lv'!!!");
  std::remove(path.c_str());
}

TEST_F(LevelFile, SavingReplacesTheFileWholeAndLeavesNoTemporary) {
  writeFileBytes(dir.file("out.lv"), std::string(100, 'x'));
  ASSERT_TRUE(load("tl\x05\x05\x01"s).ok);
  EXPECT_EQ(save(), "tl\x05\x05\x01"s);
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.lv.tmp")));
  LevelFileResult failed = writeLevel(dir.file("no/such/dir.lv").c_str(), *world);
  EXPECT_EQ(failed.message, "CANNOT OPEN '" + dir.file("no/such/dir.lv") + "'!!!");
}

}  // namespace
