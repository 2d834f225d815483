#include "editor/editor_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

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

}  // namespace
