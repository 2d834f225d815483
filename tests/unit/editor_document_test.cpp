#include "editor/editor_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "editor/autosave.h"
#include "entities/prototypes.h"
#include "unit/game_directory.h"
#include "world/tag.h"

namespace {

using namespace std::string_literals;

const std::string kTileAt11 = "tl\x01\x01\x00"s;
const std::string kAvatarAt33 = "av\x03\x03"s;

// The level as "code column,row" per entity in list order, and the same read through the cells.
std::string levelOf(EditorDocument& document) {
  std::string text;
  for (Entity* entity : document.world().byTag(tagOf("entt"))) {
    int column = static_cast<int>(entity->x()) / 20, row = static_cast<int>(entity->y()) / 20;
    text += std::string(kindOf(levelKinds(), *entity)->code) + std::to_string(column) + "," + std::to_string(row);
    text += document.cellAt(column, row) == entity ? " " : "(not in its cell) ";
  }
  return text;
}

const LevelKind& kind(const char* code) { return *findKind(levelKinds(), code); }

std::optional<Failure> failureOf(const Result<>& done) {
  if (done.ok()) return std::nullopt;
  return done.kind();
}

class Document : public ::testing::Test {
 protected:
  GameDirectory directory;
};

TEST_F(Document, OpensWhatItCanAndKnowsWhatItCouldNotRead) {
  const char* const kNoFile = "(no file)";
  // File bytes, then the failure (none for a level read), whether it is broken, and the level.
  const std::tuple<const char*, std::string, std::optional<Failure>, bool, std::string> rows[] = {
      {"a level", kTileAt11 + kAvatarAt33, std::nullopt, false, "tl1,1 av3,3 "},
      {"no file: a new level", kNoFile, Failure::Missing, false, ""},
      {"an empty file", "", Failure::Empty, false, ""},
      {"an unknown record", kTileAt11 + "zz\x01\x01"s, Failure::UnknownRecord, true, ""},
      {"a record cut short", "tl\x01\x01"s, Failure::Malformed, true, ""},
  };
  for (const auto& [label, bytes, error, broken, level] : rows) {
    SCOPED_TRACE(label);
    std::filesystem::remove("levels/doc.lv");
    if (bytes != kNoFile) directory.writeLevel("doc.lv", bytes);
    EditorDocument document("levels/doc.lv");
    EXPECT_EQ(failureOf(document.open()), error);
    EXPECT_EQ(document.broken(), broken);
    EXPECT_EQ(levelOf(document), level);
    EXPECT_FALSE(document.unsaved());
    if (bytes != kNoFile) {
      EXPECT_EQ(readFileBytes("levels/doc.lv"), bytes) << "opening writes nothing";
    }
  }
}

// Edit, undo and redo, copy, save, and open the file again: the level and the saved state follow.
TEST_F(Document, EditsUndoSaveAndReopen) {
  directory.writeLevel("doc.lv", kTileAt11 + kAvatarAt33);
  EditorDocument document("levels/doc.lv");
  ASSERT_TRUE(document.open().ok());
  document.recordStep();
  document.place({2, 2}, kind("tl"), {{3}, ""});
  document.place({1, 1}, kind("gb"), {});
  EXPECT_EQ(levelOf(document), "av3,3 tl2,2 gb1,1 ") << "a placement replaces the cell's entity";
  document.recordStep();
  document.place({5, 5}, kind("av"), {});
  EXPECT_EQ(levelOf(document), "tl2,2 gb1,1 av5,5 ") << "one avatar: the new one";
  EXPECT_TRUE(document.unsaved());

  ASSERT_TRUE(document.undo());
  EXPECT_EQ(levelOf(document), "av3,3 tl2,2 gb1,1 ");
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(levelOf(document), "tl1,1 av3,3 ");
  EXPECT_FALSE(document.unsaved()) << "back to the level of the file";
  EXPECT_FALSE(document.undo()) << "nothing before the opening";
  ASSERT_TRUE(document.redo());
  document.recordStep();
  document.erase({1, 1});
  document.erase({9, 9});
  EXPECT_EQ(levelOf(document), "av3,3 tl2,2 ");
  EXPECT_FALSE(document.redo()) << "a new edit ends the redo";
  ASSERT_TRUE(document.writeCopy("levels/copy.lv").ok());
  EXPECT_EQ(readFileBytes("levels/copy.lv"), kAvatarAt33 + "tl\x02\x02\x03"s);
  EXPECT_TRUE(document.unsaved()) << "a copy is not a save";

  writeFileBytes(autosavePathFor("levels/doc.lv"), kTileAt11);
  ASSERT_TRUE(document.save().ok());
  EXPECT_FALSE(document.unsaved());
  EXPECT_EQ(readFileBytes("levels/doc.lv"), kAvatarAt33 + "tl\x02\x02\x03"s);
  EXPECT_FALSE(std::filesystem::exists(autosavePathFor("levels/doc.lv"))) << "the autosave is stale";
  ASSERT_TRUE(document.undo());
  EXPECT_TRUE(document.unsaved()) << "the level on screen is no longer the file's";

  EditorDocument reopened("levels/doc.lv");
  ASSERT_TRUE(reopened.open().ok());
  EXPECT_EQ(levelOf(reopened), "av3,3 tl2,2 ");
}

// A load that cannot be read leaves the level as it was and takes no undo step.
TEST_F(Document, FailedLoadsKeepTheLevel) {
  directory.writeLevel("doc.lv", kTileAt11);
  EditorDocument document("levels/doc.lv");
  ASSERT_TRUE(document.open().ok());
  document.recordStep();
  document.place({4, 4}, kind("sp"), {});
  directory.writeLevel("bad.lv", "zz"s);
  EXPECT_EQ(failureOf(document.load("levels/bad.lv")), Failure::UnknownRecord);
  EXPECT_EQ(failureOf(document.load("levels/none.lv")), Failure::CannotOpen);
  EXPECT_EQ(levelOf(document), "tl1,1 sp4,4 ");
  ASSERT_TRUE(document.undo());
  EXPECT_FALSE(document.undo()) << "the failed loads took no step";
  ASSERT_TRUE(document.redo());

  ASSERT_TRUE(document.load("levels/doc.lv").ok());
  EXPECT_EQ(levelOf(document), "tl1,1 ");
  EXPECT_FALSE(document.unsaved()) << "the file read again is the saved level";
  ASSERT_TRUE(document.undo()) << "a load is a step";
  EXPECT_EQ(levelOf(document), "tl1,1 sp4,4 ");
}

}  // namespace
