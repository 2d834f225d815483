#include "world/level_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "entities/prototypes.h"
#include "entities/tile.h"
#include "unit/test_support.h"

namespace {

using namespace std::string_literals;

class LevelFile : public ::testing::Test {
 protected:
  void SetUp() override { initAllegroForTests(); }

  LevelFileResult load(const std::string& bytes) {
    writeFileBytes(dir.file("in.lv"), bytes);
    LevelFileResult result = readLevel(dir.file("in.lv").c_str(), world);
    world.flush();
    return result;
  }
  std::string save() {
    EXPECT_TRUE(writeLevel(dir.file("out.lv").c_str(), world).ok);
    return readFileBytes(dir.file("out.lv"));
  }
  std::vector<Entity*>& entities() { return world.byTag(tagOf("entt")); }
  Tile* tile(size_t index) { return dynamic_cast<Tile*>(entities().at(index)); }

  TempDir dir;
  World world;
};

TEST_F(LevelFile, TileRecordsRoundTripByteForByte) {
  std::string bytes = "tl\x03\x07\x02"s + "tl\x00\x1d\x00"s + "tl\x27\x00\x04"s + "tl\x03\x07\x09"s;
  ASSERT_TRUE(load(bytes).ok);
  ASSERT_EQ(entities().size(), 4u);
  EXPECT_EQ(tile(0)->x(), 60.0);
  EXPECT_EQ(tile(0)->y(), 140.0);
  EXPECT_EQ(tile(0)->channel, 2);
  EXPECT_EQ(tile(1)->y(), 580.0);
  EXPECT_EQ(tile(2)->x(), 780.0);
  EXPECT_EQ(tile(3)->channel, 9) << "records keep their file order";
  EXPECT_EQ(save(), bytes);
}

TEST_F(LevelFile, AvatarRecordRoundTrips) {
  ASSERT_TRUE(load("av\x05\x1c"s).ok);
  ASSERT_EQ(entities().size(), 1u);
  EXPECT_STREQ(entities()[0]->typeCode(), "av");
  EXPECT_EQ(entities()[0]->position(), std::make_pair(100.0, 560.0));
  EXPECT_EQ(world.first(tagOf("avat")), entities()[0]);
  EXPECT_EQ(save(), "av\x05\x1c"s);
}

TEST_F(LevelFile, SavedPositionsAreWholeCellsTruncated) {
  Tile* tile = new Tile(1, nullptr, 0, 0);
  tile->setPosition(399.9, 19.99);
  world.add(tile);
  world.flush();
  EXPECT_EQ(save(), "tl\x13\x00\x01"s) << "399.9 / 20 -> 19, 19.99 -> 0";
}

TEST_F(LevelFile, EndOfALevel) {
  struct Row {
    const char* label;
    std::string bytes;
    size_t entities;
  } rows[] = {
      {"empty file", "", 0},
      {"one byte", "t", 0},
      {"one trailing byte after a record", "tl\x01\x01\x00t"s, 1},
      {"0xFF as first code byte ends it", "tl\x01\x01\x00\xFFtl\x02\x02\x00"s, 1},
      {"0xFF as second code byte ends it", "tl\x01\x01\x00t\xFF"s, 1},
      {"0xFF is fine as a data byte", "tl\xFF\x01\x00"s, 1},
  };
  for (const Row& row : rows) {
    World fresh;
    writeFileBytes(dir.file("end.lv"), row.bytes);
    LevelFileResult result = readLevel(dir.file("end.lv").c_str(), fresh);
    fresh.flush();
    EXPECT_TRUE(result.ok) << row.label << ": " << result.message;
    EXPECT_EQ(fresh.byTag(tagOf("entt")).size(), row.entities) << row.label;
  }
}

TEST_F(LevelFile, MalformedFilesAreRejectedWithTheOffsetAndAddNothing) {
  std::string good = "tl\x01\x01\x00"s;
  struct Row {
    const char* label;
    std::string bytes;
    std::string message;
  } rows[] = {
      {"ends after the code", good + "tl", "AT BYTE 5: the file ends inside the \"tl\" record!!!"},
      {"ends before the channel", good + good + "tl\x02\x02"s, "AT BYTE 10: the file ends inside the \"tl\" record!!!"},
      {"channel 10", good + "tl\x02\x02\x0a"s, "AT BYTE 5: tile channel 10 is outside 0 to 9!!!"},
      {"channel 255", "tl\x02\x02\xff"s, "AT BYTE 0: tile channel 255 is outside 0 to 9!!!"},
  };
  for (const Row& row : rows) {
    World fresh;
    writeFileBytes(dir.file("bad.lv"), row.bytes);
    LevelFileResult result = readLevel(dir.file("bad.lv").c_str(), fresh);
    fresh.flush();
    EXPECT_FALSE(result.ok) << row.label;
    EXPECT_EQ(result.message, "MALFORMED '" + dir.file("bad.lv") + "' " + row.message) << row.label;
    EXPECT_TRUE(fresh.byTag(tagOf("entt")).empty()) << row.label;
  }
}

TEST_F(LevelFile, UnknownCodeAndMissingFileAreReported) {
  LevelFileResult unknown = load("tl\x01\x01\x00zz\x01\x01"s);
  EXPECT_EQ(unknown.message, "UNMAPPABLE 'zz'!!!");
  EXPECT_TRUE(entities().empty());
  EXPECT_EQ(load("\x01q\x00\x00"s).message, "UNMAPPABLE '\\x01q'!!!") << "control bytes are not printed raw";
  std::string missing = dir.file("missing.lv");
  EXPECT_EQ(readLevel(missing.c_str(), world).message, "CANNOT OPEN '" + missing + "'!!!");
}

// The game's forms print the line to standard output and exit 1; the death test reads stderr,
// so standard output is sent there inside the child. The child runs the test again from the
// start and ends by exit, so the files live in the build folder rather than a temporary one.
TEST(LevelFileExit, GameFormsExitWithStatusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  initAllegroForTests();
  World world;
  std::string path = BINHOPPER_BINARY_DIR "/unknown-code-test.lv";
  writeFileBytes(path, "zz\x01\x01"s);
  EXPECT_EXIT(
      {
        sendStdoutToStderr();
        loadLevel(path.c_str(), world);
      },
      ::testing::ExitedWithCode(1), "UNMAPPABLE 'zz'!!!");
  std::remove(path.c_str());
  EXPECT_EXIT(
      {
        sendStdoutToStderr();
        loadLevel(BINHOPPER_BINARY_DIR "/missing-level-test.lv", world);
      },
      ::testing::ExitedWithCode(1), "CANNOT OPEN '.*/missing-level-test.lv'!!!");
  EXPECT_EXIT(
      {
        sendStdoutToStderr();
        saveLevel(BINHOPPER_BINARY_DIR "/no/such/dir.lv", world);
      },
      ::testing::ExitedWithCode(1), "CANNOT OPEN '.*/no/such/dir.lv'!!!");
}

TEST_F(LevelFile, SavingReplacesTheFileWholeAndLeavesNoTemporary) {
  writeFileBytes(dir.file("out.lv"), std::string(100, 'x'));
  ASSERT_TRUE(load("tl\x05\x05\x01"s).ok);
  EXPECT_EQ(save(), "tl\x05\x05\x01"s);
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.lv.tmp")));

  LevelFileResult failed = writeLevel(dir.file("no/such/dir.lv").c_str(), world);
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.message, "CANNOT OPEN '" + dir.file("no/such/dir.lv") + "'!!!");
}

TEST_F(LevelFile, SaveLoadSaveIsIdentity) {
  ASSERT_TRUE(load("tl\x01\x02\x03"s + "av\x05\x1c"s + "tl\x27\x1d\x00"s).ok);
  for (int i = 0; i < 30; ++i) {
    Tile* tile = new Tile((i * 7) % 10, nullptr, (i * 13) % 40, (i * 11) % 30);
    world.add(tile);
  }
  world.flush();
  std::string first = save();
  ASSERT_EQ(first.size(), 14u + 150u);
  EXPECT_EQ(first.substr(0, 14), "tl\x01\x02\x03"s + "av\x05\x1c"s + "tl\x27\x1d\x00"s)
      << "loaded records first, in order";
  World again;
  ASSERT_TRUE(readLevel(dir.file("out.lv").c_str(), again).ok);
  again.flush();
  ASSERT_TRUE(writeLevel(dir.file("again.lv").c_str(), again).ok);
  EXPECT_EQ(readFileBytes(dir.file("again.lv")), first);
}

}  // namespace
