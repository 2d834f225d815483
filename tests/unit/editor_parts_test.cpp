#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "editor/autosave.h"
#include "editor/level_check.h"
#include "entities/prototypes.h"
#include "unit/game_directory.h"

namespace {

TEST(Autosave, NamedBesideTheFileAndOfferedWhenNewer) {
  GameDirectory directory;
  namespace fs = std::filesystem;
  EXPECT_EQ(autosavePathFor("levels/x.lv"), "levels/x.lv.autosave");
  const auto now = fs::file_time_type::clock::now();
  // level file age, autosave age (seconds ago; -1 missing), offered
  const std::tuple<const char*, int, int, bool> rows[] = {
      {"no autosave", 10, -1, false},
      {"autosave older than the file", 10, 20, false},
      {"autosave newer than the file", 20, 10, true},
      {"autosave of a file never saved", -1, 10, true},
  };
  for (const auto& [label, levelAge, autosaveAge, offered] : rows) {
    fs::remove("levels/x.lv");
    fs::remove("levels/x.lv.autosave");
    if (levelAge >= 0) {
      directory.writeLevel("x.lv", "av\x01\x01");
      fs::last_write_time("levels/x.lv", now - std::chrono::seconds(levelAge));
    }
    if (autosaveAge >= 0) {
      directory.writeLevel("x.lv.autosave", "av\x02\x02");
      fs::last_write_time("levels/x.lv.autosave", now - std::chrono::seconds(autosaveAge));
    }
    EXPECT_EQ(autosaveIsNewer("levels/x.lv"), offered) << label;
  }
}

class LevelCheck : public ::testing::Test {
 protected:
  std::string problemsOf(const std::string& bytes) {
    directory.writeLevel("c.lv", bytes);
    World world;
    EXPECT_TRUE(readLevel("levels/c.lv", world).ok());
    world.flush();
    std::string text;
    for (const std::string& problem : levelProblems(world)) text += problem + "\n";
    return text;
  }
  GameDirectory directory;
};

TEST_F(LevelCheck, ReportsWhatKeepsALevelFromBeingFinished) {
  const std::string avatar("av\x01\x01", 4);
  const std::string bin("ct\x05\x05\x02", 5);
  const std::string bag("gb\x02\x02", 4);
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {"sound", avatar + bin + bag + bag, ""},
      {"no avatar", bin + bag + bag, "no avatar\n"},
      {"two avatars", avatar + avatar + bin + bag + bag, "2 avatars (the level timer would run 2 times as fast)\n"},
      {"no container", avatar + bag, "no container, so the level can never be completed\n"},
      {"baddies do not fill bins", avatar + bin + bag + std::string("bd\x03\x03\x00", 5),
       "the containers want 2 bags but the level holds 1\n"},
      {"loose garbage off screen", avatar + bin + bag + bag + std::string("lg\x28\x01", 4),
       "loose garbage at column 40, row 1 lies outside the 40 x 30 screen (no golden crown)\n"},
      {"a bag below the screen", avatar + bin + bag + std::string("gb\x01\x1e", 4),
       "garbage at column 1, row 30 lies outside the 40 x 30 screen\n"},
  };
  for (const auto& [label, bytes, problems] : rows) EXPECT_EQ(problemsOf(bytes), problems) << label;
}

}  // namespace
