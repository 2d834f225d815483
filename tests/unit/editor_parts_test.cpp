#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/utf8.h"
#include "editor/autosave.h"
#include "editor/campaign_form.h"
#include "editor/level_check.h"
#include "editor/text_entry.h"
#include "entities/prototypes.h"
#include "unit/game_directory.h"

namespace {

// A sign's text is edited by character: Backspace once took one byte of "café", and the file
// got "caf\xC3". Text that is not UTF-8 is never split inside a valid character.
TEST(TextEntry, EditsByCharacter) {
  const std::string e = "\xC3\xA9";  // é
  std::string ninety;
  for (int i = 0; i < 90; ++i) ninety += e;
  // Label, the text the entry opens with, the characters typed (0x08 Backspace), the text kept
  // with Enter, the characters counted.
  const std::tuple<const char*, std::string, std::vector<int>, std::string, size_t> rows[] = {
      {"Backspace takes a whole character", "caf" + e, {0x08}, "caf", 3},
      {"a typed character beyond ASCII", "", {'a', 0xE9, 0x20AC}, "a" + e + "\xE2\x82\xAC", 3},
      {"a stray byte is one character", "ab\xC3", {0x08, 0x08}, "a", 1},
      {"a valid character after a stray byte stays whole", "\xFF" + e, {0x08}, "\xFF", 1},
      {"controls and the text's end are never typed", "", {0x07, 0x7F, 0x85, '$', 0xD800, 'x'}, "x", 1},
      {"90 characters of two bytes each take no more", ninety, {'z'}, ninety, 90},
  };
  for (const auto& [label, opened, typed, kept, characters] : rows) {
    SCOPED_TRACE(label);
    TextEntry entry;
    ASSERT_TRUE(entry.open(opened, 0.0));
    for (int character : typed)
      entry.type(character == 0x08 ? ALLEGRO_KEY_BACKSPACE : ALLEGRO_KEY_A, character == 0x08 ? 0 : character, 1.0);
    EXPECT_EQ(entry.type(ALLEGRO_KEY_ENTER, 0, 1.0), TextEntry::Outcome::Confirmed);
    EXPECT_EQ(entry.text(), kept);
    EXPECT_EQ(looseCharacterCount(entry.text()), characters);
  }
  EXPECT_FALSE(TextEntry().open(std::string(91, 'x'), 0.0)) << "more than 90 characters";
  EXPECT_EQ(withReplacementMarks("a\xFF" + e), "a\xEF\xBF\xBD" + e) << "a stray byte shows as a mark";
}

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

// "Save into a campaign" takes a pack's folder, then a level number: Tab walks the player's packs,
// a new name makes a pack whose first level is 1, and what a campaign cannot take is refused
// with the reason, the question staying open.
TEST(CampaignForm, AsksForAPackThenALevel) {
  GameDirectory directory;
  const std::string packs = directory.path("packs");
  std::filesystem::create_directories(packs + "/beta");
  writeFileBytes(packs + "/beta/pack.txt", "name = Beta\nlevel 1 = 9\nlevel 2 = 9\n");
  std::filesystem::create_directories(packs + "/alpha");
  std::filesystem::create_directories(packs + "/.install-x");
  struct Row {
    const char* label;
    std::vector<std::string> answers;
    std::string lastProblem;
    std::string folder;  // once done, else ""
    int number;
  } const rows[] = {
      {"a new pack's first level", {"gamma", "1"}, "", packs + "/gamma", 1},
      {"a pack's next level", {"beta", "3"}, "", packs + "/beta", 3},
      {"over a pack's level", {"beta", "1"}, "", packs + "/beta", 1},
      {"a level beyond the next", {"beta", "4"}, "a level number from 1 to 3", "", 0},
      {"no number", {"beta", "x"}, "a level number from 1 to 3", "", 0},
      {"a name no pack's folder can have",
       {"my pack"},
       "'my pack' cannot name a pack's folder (letters, digits, '.', '_' and '-', not first '.' or '-', at most 64)",
       "",
       0},
      {"the built-in campaign's name", {"levels"}, "the folder name 'levels' belongs to the built-in campaign", "", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    CampaignForm form(packs, "");
    std::string problem;
    for (const std::string& answer : row.answers) problem = form.answer(answer);
    EXPECT_EQ(problem.substr(0, row.lastProblem.size()), row.lastProblem);
    EXPECT_EQ(problem.empty(), row.lastProblem.empty());
    std::string ended = form.done() ? form.packFolder() + "#" + std::to_string(form.number()) : "";
    EXPECT_EQ(ended, row.number > 0 ? row.folder + "#" + std::to_string(row.number) : "");
  }
  CampaignForm form(packs, "beta");
  EXPECT_EQ(form.offered(), "beta");
  EXPECT_EQ(form.nextPack("beta"), "alpha") << "after the last, the first; hidden folders are no packs";
  EXPECT_EQ(form.nextPack(""), "alpha");
  EXPECT_EQ(form.nextPack("alpha"), "beta");
  form.answer("beta");
  EXPECT_EQ(form.offered(), "3") << "the next level is offered";
}

}  // namespace
