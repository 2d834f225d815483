#include "editor/editor_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "campaign/pack_writer.h"
#include "entities/prototypes.h"
#include "unit/game_directory.h"

namespace {

// A tile's record in the level file.
std::string tileRecord(int column, int row) { return std::string("tl") + char(column) + char(row) + char(0); }

// A session of levels/edit.lv, opened as the editor opens it.
class SessionTest : public ::testing::Test {
 protected:
  void start() {
    session = std::make_unique<EditorSession>("levels/edit.lv");
    session->open();
  }
  // A tile placed in the cell as one undo step.
  void placeTile(int column, int row) {
    const LevelKind& tile = levelKinds().front();
    session->document().recordStep();
    session->document().place(GridCell{column, row}, tile, tile.palette.front());
  }
  bool autosaved() const { return std::filesystem::exists("levels/edit.lv.autosave"); }

  GameDirectory directory;
  std::unique_ptr<EditorSession> session;
};

// The close button asks while there is unsaved work; Escape leaves the same way (a full-screen
// window has no close button) and asks even with nothing to lose. Enter keeps the work; closing
// without saving writes nothing and drops the autosave.
TEST_F(SessionTest, LeavingAsksFirst) {
  using Answer = EditorAnswer;
  // Label, whether the close button (else Escape) asks, whether there is unsaved work, the
  // answer, whether the editor ends, and whether the file was saved.
  const std::tuple<const char*, bool, bool, Answer, bool, bool> rows[] = {
      {"N keeps editing", true, true, Answer::No, false, false},
      {"Y closes without saving", true, true, Answer::Yes, true, false},
      {"Enter keeps editing", true, true, Answer::Enter, false, false},
      {"a second Escape stays", false, false, Answer::No, false, false},
      {"Enter stays", false, false, Answer::Enter, false, false},
      {"Y leaves", false, false, Answer::Yes, true, false},
      {"with unsaved work Enter stays", false, true, Answer::Enter, false, false},
      {"with unsaved work S saves and leaves", false, true, Answer::Save, true, true},
      {"L is no answer to it", false, true, Answer::Reload, false, false},
  };
  for (const auto& [label, closeButton, unsaved, answer, ends, saved] : rows) {
    SCOPED_TRACE(label);
    std::filesystem::remove("levels/edit.lv");
    std::filesystem::remove("levels/edit.lv.autosave");
    start();
    if (unsaved) {
      placeTile(3, 3);
    } else {
      EXPECT_TRUE(session->requestClose()) << "nothing to lose";
    }
    session->autosave(61);
    ASSERT_EQ(autosaved(), unsaved) << "a minute's unsaved work is autosaved";
    if (closeButton) {
      EXPECT_FALSE(session->requestClose());
    } else {
      session->leave();
    }
    ASSERT_TRUE(session->question());
    session->answer(answer);
    EXPECT_EQ(session->finished(), ends);
    EXPECT_EQ(session->question().has_value(), answer == Answer::Reload) << "a question is answered once";
    EXPECT_EQ(readFileBytes("levels/edit.lv"), saved ? tileRecord(3, 3) : "");
    const bool workKept = unsaved && !ends;
    EXPECT_EQ(autosaved(), workKept) << "an autosave is kept while the work is";
  }
}

// Enter agrees where agreeing keeps the work: a newer autosave is restored, a broken file is
// replaced only when the author says so.
TEST_F(SessionTest, EnterAgreesWhereThatKeepsTheWork) {
  writeFileBytes("levels/edit.lv", tileRecord(1, 1));
  writeFileBytes("levels/edit.lv.autosave", tileRecord(2, 2));
  std::filesystem::last_write_time("levels/edit.lv",
                                   std::filesystem::last_write_time("levels/edit.lv.autosave") - std::chrono::hours(1));
  start();
  ASSERT_TRUE(session->question());
  EXPECT_EQ(session->question()->purpose, EditorQuestion::Purpose::RestoreAutosave);
  session->answer(EditorAnswer::Enter);
  EXPECT_EQ(session->note().text, "Restored levels/edit.lv.autosave");
  EXPECT_NE(session->document().cellAt(2, 2), nullptr);
  EXPECT_TRUE(session->document().unsaved()) << "the restored level is not yet the file's";

  const std::string broken("av\x01\x02zz", 6);
  writeFileBytes("levels/edit.lv", broken);
  std::filesystem::remove("levels/edit.lv.autosave");
  ::testing::internal::CaptureStdout();
  start();
  ::testing::internal::GetCapturedStdout();
  session->save();
  ASSERT_TRUE(session->question());
  EXPECT_EQ(session->question()->purpose, EditorQuestion::Purpose::ReplaceBroken);
  session->answer(EditorAnswer::No);
  EXPECT_EQ(readFileBytes("levels/edit.lv"), broken);
  session->save();
  session->answer(EditorAnswer::Enter);
  EXPECT_EQ(readFileBytes("levels/edit.lv"), "");
}

// New, Open, Save as and Save into a campaign: each asks first where unsaved work or another
// file would be lost, and the file edited follows what was done. The edited level holds a tile
// at (1, 1) in its file, and at (3, 3) too while it has unsaved work.
TEST_F(SessionTest, FileCommandsGuardTheWorkAndFollowTheFile) {
  using Answer = EditorAnswer;
  using Files = std::vector<std::pair<std::string, std::string>>;
  const std::string saved = tileRecord(1, 1), edited = tileRecord(1, 1) + tileRecord(3, 3);
  const std::string other = tileRecord(5, 5), avatar = std::string("av\x02\x1a", 4);
  const std::string oldPackText = "name = Old\nlevel 1 = 9\n";
  struct Row {
    const char* label;
    bool unsaved;
    std::function<void(EditorSession&)> command;
    std::optional<Answer> answer;  // none: no question is asked
    std::string fileAfter;         // the file edited afterwards
    bool unsavedAfter;
    Files files;  // what lies on disk afterwards
  } const rows[] = {
      {"new, nothing to lose",
       false,
       [](EditorSession& s) { s.newLevel(); },
       {},
       "levels/new.lv",
       false,
       {{"levels/edit.lv", saved}}},
      {"new, N keeps the work",
       true,
       [](EditorSession& s) { s.newLevel(); },
       Answer::No,
       "levels/edit.lv",
       true,
       {{"levels/edit.lv", saved}}},
      {"new, Y throws the work away",
       true,
       [](EditorSession& s) { s.newLevel(); },
       Answer::Yes,
       "levels/new.lv",
       false,
       {{"levels/edit.lv", saved}, {"levels/edit.lv.autosave", "(none)"}}},
      {"new, S saves it first",
       true,
       [](EditorSession& s) { s.newLevel(); },
       Answer::Save,
       "levels/new.lv",
       false,
       {{"levels/edit.lv", edited}}},
      {"open, Enter keeps the work",
       true,
       [](EditorSession& s) { s.openFile("levels/other.lv"); },
       Answer::Enter,
       "levels/edit.lv",
       true,
       {{"levels/edit.lv", saved}}},
      {"open, nothing to lose",
       false,
       [](EditorSession& s) { s.openFile("levels/other.lv"); },
       {},
       "levels/other.lv",
       false,
       {{"levels/other.lv", other}}},
      {"open a file that is no level: the level stays",
       true,
       [](EditorSession& s) { s.openFile("levels/bad.lv"); },
       Answer::Yes,
       "levels/edit.lv",
       true,
       {{"levels/bad.lv", "zz"}}},
      {"open a new pack's empty level",
       false,
       [](EditorSession& s) { s.openFile("levels/empty.lv"); },
       {},
       "levels/empty.lv",
       false,
       {{"levels/empty.lv", ""}}},
      {"save as a new file",
       true,
       [](EditorSession& s) { s.saveAs("levels/mine.lv"); },
       {},
       "levels/mine.lv",
       false,
       {{"levels/mine.lv", edited}, {"levels/edit.lv", saved}, {"levels/edit.lv.autosave", "(none)"}}},
      {"save as over another file, N",
       true,
       [](EditorSession& s) { s.saveAs("levels/other.lv"); },
       Answer::No,
       "levels/edit.lv",
       true,
       {{"levels/other.lv", other}}},
      {"save as over another file, Y",
       true,
       [](EditorSession& s) { s.saveAs("levels/other.lv"); },
       Answer::Yes,
       "levels/other.lv",
       false,
       {{"levels/other.lv", edited}}},
      {"into a new campaign",
       true,
       [](EditorSession& s) { s.saveIntoCampaign("packs/pk", 1); },
       {},
       "packs/pk/1.lv",
       false,
       {{"packs/pk/1.lv", edited}, {"packs/pk/pack.txt", newPackText("pk")}}},
      {"into a campaign over another level, N",
       true,
       [](EditorSession& s) { s.saveIntoCampaign("packs/old", 1); },
       Answer::No,
       "levels/edit.lv",
       true,
       {{"packs/old/1.lv", other}}},
      {"into a campaign over another level, Y",
       true,
       [](EditorSession& s) { s.saveIntoCampaign("packs/old", 1); },
       Answer::Yes,
       "packs/old/1.lv",
       false,
       {{"packs/old/1.lv", edited}, {"packs/old/pack.txt", oldPackText}}},
      {"as the next level of a campaign",
       true,
       [](EditorSession& s) { s.saveIntoCampaign("packs/old", 2); },
       {},
       "packs/old/2.lv",
       false,
       {{"packs/old/pack.txt", oldPackText + "level 2 = 60.0\n"}}},
      {"into the built-in campaign's name",
       true,
       [](EditorSession& s) { s.saveIntoCampaign("packs/levels", 1); },
       {},
       "levels/edit.lv",
       true,
       {{"packs/levels", "(none)"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    std::filesystem::remove_all("levels");
    std::filesystem::remove_all("packs");
    std::filesystem::create_directory("levels");
    writeFileBytes("levels/edit.lv", saved);
    writeFileBytes("levels/other.lv", other);
    writeFileBytes("levels/bad.lv", "zz");
    writeFileBytes("levels/empty.lv", "");
    std::filesystem::create_directories("packs/old");
    writeFileBytes("packs/old/pack.txt", oldPackText);
    writeFileBytes("packs/old/1.lv", other);
    start();
    if (row.unsaved) {
      placeTile(3, 3);
      session->autosave(61);
    }
    ::testing::internal::CaptureStdout();
    row.command(*session);
    EXPECT_EQ(session->question().has_value(), row.answer.has_value());
    if (row.answer) session->answer(*row.answer);
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(session->question());
    EXPECT_EQ(session->document().path(), row.fileAfter);
    EXPECT_EQ(session->document().unsaved(), row.unsavedAfter);
    for (const auto& [file, bytes] : row.files) {
      EXPECT_EQ(std::filesystem::exists(file) ? readFileBytes(file) : "(none)", bytes) << file;
    }
    if (row.fileAfter == "levels/new.lv") {
      EXPECT_FALSE(std::filesystem::exists("levels/new.lv")) << "a new level is written by its first save";
      EXPECT_TRUE(session->document().cellAt(2, 26)) << "a new level has an avatar";
    }
  }
}

}  // namespace
