#include "editor/editor_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/input_snapshot.h"
#include "app/switch.h"
#include "entities/message.h"
#include "entities/prototypes.h"
#include "unit/game_directory.h"
#include "world/tag.h"

namespace {

// A tile's record in the level file.
std::string tileRecord(int column, int row) { return std::string("tl") + char(column) + char(row) + char(0); }

// An editor whose test play is recorded instead of run in a loop of its own.
class ScriptedEditor : public EditorState {
 public:
  explicit ScriptedEditor(const std::string& file) : EditorState(file) {}
  std::vector<std::string> testPlays, playedBytes;
  std::vector<int> keysLeavingPlay;                     // down in the play's last frame, as the switches saw them
  std::vector<std::optional<std::string>> fileAnswers;  // the author's at the file dialog, in turn
  std::vector<std::string> fileQuestions;               // "TITLE in FOLDER"

 protected:
  std::optional<std::string> chooseFile(const FileQuestion& question) override {
    fileQuestions.push_back(question.title + " in " + question.startIn);
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.erase(fileAnswers.begin());
    return answer;
  }
  void runTestPlay(const char* playFile) override {
    testPlays.push_back(playFile);
    playedBytes.push_back(readFileBytes(playFile));
    keyboard = ALLEGRO_KEYBOARD_STATE{};
    for (int key : keysLeavingPlay) setKeyDown(keyboard, key, true);
    refreshRootSwitches();
  }
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Controls();
    start();
  }
  // A fresh editor of the file, as the program starts it.
  void start(const std::string& file = "levels/edit.lv") {
    editor.reset();
    editor = std::make_unique<ScriptedEditor>(file);
    setCurrentState(editor.get());
    frame();  // no button held: the first click places
  }
  void TearDown() override {
    editor.reset();
    setCurrentState(nullptr);
  }

  // One frame with the mouse at (x, y), the primary (place) and secondary (erase) buttons and
  // the keys held as given.
  void frame(int x = 0, int y = 0, bool place = false, bool erase = false, const std::vector<int>& keys = {}) {
    editor->keyboard = ALLEGRO_KEYBOARD_STATE{};
    for (int key : keys) setKeyDown(editor->keyboard, key, true);
    setMousePosition(editor->mouse, x, y);
    setMouseButton(editor->mouse, 1, place);
    setMouseButton(editor->mouse, 2, erase);
    refreshRootSwitches();
    editor->update(0.017);
  }
  // Presses a key (with Ctrl or Shift when given) for one frame and lets it go in the next.
  void tap(int key, std::vector<int> held = {}) {
    held.push_back(key);
    frame(0, 0, false, false, held);
    frame();
  }
  std::string levelBytes() {
    std::string bytes;
    for (Entity* entity : editor->session().document().world().byTag(tagOf("entt"))) {
      bytes += kindOf(levelKinds(), *entity)->code + std::to_string(static_cast<int>(entity->x()) / 20) + "," +
               std::to_string(static_cast<int>(entity->y()) / 20) + " ";
    }
    return bytes;
  }
  // A click of the primary button in the cell at (column, row).
  void placeAt(int column, int row) {
    frame(column * 20 + 7, row * 20 + 13, true);
    frame(column * 20 + 7, row * 20 + 13, false);
  }
  int entityCount() { return static_cast<int>(editor->session().document().world().byTag(tagOf("entt")).size()); }
  // Keys typed into the editor as the keyboard's character events, after the entry opened.
  void type(const std::string& text, int lastKey = ALLEGRO_KEY_ENTER) {
    ALLEGRO_EVENT event{};
    event.type = ALLEGRO_EVENT_KEY_CHAR;
    event.keyboard.timestamp = al_get_time() + 1;
    for (char c : text) {
      event.keyboard.keycode = c == '\b' ? ALLEGRO_KEY_BACKSPACE : ALLEGRO_KEY_A;
      event.keyboard.unichar = c;
      editor->handleEvent(event);
    }
    event.keyboard.keycode = lastKey;
    event.keyboard.unichar = 0;
    editor->handleEvent(event);
    frame();
  }
  std::string signText(int column, int row) {
    auto* sign = dynamic_cast<Message*>(editor->session().document().cellAt(column, row));
    return sign ? sign->text : "(no sign)";
  }
  std::string label(const Entity* entity) { return entity ? editorLabel(*entity) : "empty"; }
  // Where the overview shows the palette entry's picture.
  std::pair<int, int> pictured(int entry) {
    return {10 + 130 * (entry % PaletteView::kColumns) + 40, 30 + 90 * (entry / PaletteView::kColumns) + 40};
  }
  // Chooses the palette entry by its picture in the overview.
  void choose(int entry) {
    tap(ALLEGRO_KEY_TAB);
    auto [x, y] = pictured(entry);
    frame(x, y, true);
    frame(x, y);
  }
  std::optional<EditorQuestion::Purpose> purpose() {
    const std::optional<EditorQuestion>& question = editor->session().question();
    return question ? std::optional(question->purpose) : std::nullopt;
  }

  GameDirectory directory;
  std::unique_ptr<ScriptedEditor> editor;
};

// The Escape that leaves the test play acted on the editor too, asking to leave it, and the
// next Escape then only closed that question. One Escape does one thing; over the help it
// closes the help.
TEST_F(EditorTest, TheEscapeThatLeavesTestPlayIsNotTheEditors) {
  // Label; whether the Escape is still held in the editor's first frame after the play.
  const std::tuple<const char*, bool> rows[] = {{"a quick Escape", false}, {"a held Escape", true}};
  for (const auto& [label, held] : rows) {
    SCOPED_TRACE(label);
    start();
    editor->keysLeavingPlay = {ALLEGRO_KEY_ESCAPE};
    frame(0, 0, false, false, {ALLEGRO_KEY_P});
    ASSERT_EQ(editor->testPlays.size(), 1u);
    EXPECT_FALSE(editor->session().question().has_value()) << "asked to leave the editor in the frame the play ended";
    frame(0, 0, false, false, held ? std::vector<int>{ALLEGRO_KEY_ESCAPE} : std::vector<int>{});
    frame();
    EXPECT_FALSE(editor->session().question().has_value());
    tap(ALLEGRO_KEY_ESCAPE);
    EXPECT_TRUE(editor->session().question().has_value()) << "the first Escape after the play asks to leave";
    tap(ALLEGRO_KEY_ESCAPE);
    EXPECT_FALSE(editor->session().question().has_value()) << "and the next keeps editing";
  }
  tap(ALLEGRO_KEY_F1);
  tap(ALLEGRO_KEY_ESCAPE);
  EXPECT_FALSE(editor->session().question().has_value()) << "an Escape over the help closes the help";
  tap(ALLEGRO_KEY_ESCAPE);
  EXPECT_EQ(purpose(), EditorQuestion::Purpose::Leave);
  tap(ALLEGRO_KEY_Y);
  EXPECT_EQ(editor->status, RunStatus::Done) << "leaving returns to what started the editor";
  start();
  placeAt(4, 5);
  EXPECT_FALSE(editor->onCloseRequest());
  tap(ALLEGRO_KEY_Y);
  EXPECT_EQ(editor->status, RunStatus::Closed) << "a window closed after the question ends every state";
}

// P plays a written copy and leaves the level as it was; S on a file that cannot be written
// reports it and keeps the level unsaved.
TEST_F(EditorTest, TestPlayAndSaveOnlyWithAWrittenFile) {
  placeAt(4, 5);
  tap(ALLEGRO_KEY_P);
  ASSERT_EQ(editor->testPlays, std::vector<std::string>{"levels/play.lv"});
  EXPECT_EQ(readFileBytes("levels/play.lv"), tileRecord(4, 5));

  std::filesystem::remove_all("levels");
  writeFileBytes("levels", "a file where the folder should be");
  ::testing::internal::CaptureStdout();
  tap(ALLEGRO_KEY_S);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(editor->statusMessage(), "levels/edit.lv cannot be written: Not a directory.") << "the system's reason";
  EXPECT_EQ(editor->statusDetail(), "CANNOT OPEN 'levels/edit.lv'!!!");
  EXPECT_TRUE(editor->session().document().unsaved());
  tap(ALLEGRO_KEY_P);
  ASSERT_EQ(editor->testPlays.size(), 2u) << "P plays a temporary copy when levels/ cannot be written";
  EXPECT_EQ(editor->playedBytes[1], tileRecord(4, 5));
  EXPECT_FALSE(std::filesystem::exists(editor->testPlays[1])) << "the temporary copy is removed after the play";
  EXPECT_EQ(editor->status, RunStatus::Running);
  EXPECT_EQ(entityCount(), 1);
}

// The keys of undo and redo, each step one edit (a drag is one): Ctrl+Z walks back, Ctrl+Y and
// Ctrl+Shift+Z forward; L asks before it replaces unsaved work, and its load is a step too. A
// fast Ctrl+Z only undoes.
TEST_F(EditorTest, UndoAndRedoKeys) {
  const int control = ALLEGRO_KEY_LCTRL;
  placeAt(1, 1);
  frame(47, 47, true);
  frame(127, 47, true);
  frame();
  tap(ALLEGRO_KEY_S);
  placeAt(7, 7);
  tap(ALLEGRO_KEY_L);
  EXPECT_TRUE(editor->session().question().has_value()) << "unsaved work: L asks first";
  tap(ALLEGRO_KEY_Y);
  const std::string saved = "tl1,1 tl2,2 tl3,2 tl4,2 tl5,2 tl6,2 ";
  ASSERT_EQ(levelBytes(), saved);
  const std::tuple<const char*, std::vector<int>, std::string> rows[] = {
      {"undo the load", {control, ALLEGRO_KEY_Z}, saved + "tl7,7 "},
      {"redo it with Ctrl+Y", {control, ALLEGRO_KEY_Y}, saved},
      {"undo the load again", {control, ALLEGRO_KEY_Z}, saved + "tl7,7 "},
      {"undo the placement", {control, ALLEGRO_KEY_Z}, saved},
      {"undo the whole stroke", {control, ALLEGRO_KEY_Z}, "tl1,1 "},
      {"redo with Ctrl+Shift+Z", {control, ALLEGRO_KEY_LSHIFT, ALLEGRO_KEY_Z}, saved},
  };
  for (const auto& [label, keys, level] : rows) {
    frame(0, 0, false, false, keys);
    frame();
    EXPECT_EQ(levelBytes(), level) << label;
  }
  EXPECT_EQ(editor->chosenEntry(), 0) << "Z with Ctrl does not choose a prototype";

  // Ctrl let go between two frames, just as Z went down, still makes an undo and never also
  // moves the palette; a Z pressed a frame after that is a plain Z again.
  placeAt(7, 7);
  frame(0, 0, false, false, {control});
  frame(0, 0, false, false, {ALLEGRO_KEY_Z});
  frame();
  EXPECT_EQ(levelBytes(), saved);
  EXPECT_EQ(editor->chosenEntry(), 0);
  tap(ALLEGRO_KEY_Z);
  EXPECT_EQ(editor->chosenEntry(), static_cast<int>(editor->paletteSize()) - 1);
  EXPECT_EQ(levelBytes(), saved);
}

TEST_F(EditorTest, TwoHundredStepsCanBeUndone) {
  for (int step = 0; step < 205; ++step) placeAt(step % 40, step / 40);
  for (int step = 0; step < 200; ++step) tap(ALLEGRO_KEY_Z, {ALLEGRO_KEY_RCTRL});
  EXPECT_EQ(entityCount(), 5);
}

// A fast drag reaches a far cell in one frame: every cell of the line between is painted once.
TEST_F(EditorTest, StrokesLeaveNoGaps) {
  frame(5, 5, true);
  frame(185, 65, true);
  EXPECT_EQ(levelBytes(), "tl0,0 tl1,0 tl2,1 tl3,1 tl4,1 tl5,2 tl6,2 tl7,2 tl8,3 tl9,3 ");
  Entity* last = editor->session().document().cellAt(9, 3);
  frame(195, 75, true);
  EXPECT_EQ(editor->session().document().cellAt(9, 3), last) << "staying in the cell places nothing";
  frame();
  frame(5, 5, false, true);
  frame(185, 65, false, true);
  EXPECT_EQ(entityCount(), 0) << "an erase stroke clears the whole line";
  tap(ALLEGRO_KEY_Z, {ALLEGRO_KEY_LCTRL});
  EXPECT_EQ(entityCount(), 10) << "the erase stroke is one step";
}

TEST_F(EditorTest, NumberKeysChooseTheSwitchChannel) {
  const std::tuple<const char*, int, int, std::string> rows[] = {
      {"tile on 3", ALLEGRO_KEY_3, 0, "tile(3)"},
      {"first lever entry on 3", ALLEGRO_KEY_3, 15, "lever(3,off)"},
      {"last lever entry on 7 wraps to 1", ALLEGRO_KEY_7, 24, "lever(1,on)"},
      {"press pad on the keypad 9", ALLEGRO_KEY_PAD_9, 25, "presspad(9,off)"},
      {"other kinds keep their label", ALLEGRO_KEY_5, 7, "avatar"},
      {"0 gives the palette's own entries", ALLEGRO_KEY_0, 17, "lever(1,off)"},
  };
  for (const auto& [label, key, entry, placed] : rows) {
    tap(key);
    choose(entry);
    placeAt(entry, 0);
    EXPECT_EQ(this->label(editor->session().document().cellAt(entry, 0)), placed) << label;
  }
}

// The file is opened at start; a broken one leaves an empty level and is replaced only when
// the author says so.
TEST_F(EditorTest, OpensTheFileAtStartAndGuardsABrokenOne) {
  const std::string broken("av\x01\x02zz", 6);
  directory.writeLevel("mine.lv", broken);
  ::testing::internal::CaptureStdout();
  start("levels/mine.lv");
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(entityCount(), 0);
  EXPECT_EQ(editor->statusMessage(), "levels/mine.lv is not a level file (it stops at byte 4: unknown record 'zz').");
  EXPECT_EQ(editor->statusDetail(), "UNMAPPABLE 'zz'!!!") << "the loader's line below the plain words";
  tap(ALLEGRO_KEY_S);
  EXPECT_TRUE(editor->session().question().has_value());
  tap(ALLEGRO_KEY_ESCAPE);
  EXPECT_EQ(readFileBytes("levels/mine.lv"), broken);
  tap(ALLEGRO_KEY_S);
  tap(ALLEGRO_KEY_ENTER);
  EXPECT_EQ(readFileBytes("levels/mine.lv"), "");
}

// Tab shows every entry of the palette; a click on one chooses it and places nothing, not even
// while the button is still held in the next frames.
TEST_F(EditorTest, ThePaletteOverviewChoosesByClick) {
  tap(ALLEGRO_KEY_TAB);
  ASSERT_TRUE(editor->overviewOpen());
  const int avatar = 7;
  auto [x, y] = pictured(avatar);
  ASSERT_EQ(PaletteView::entryAt(x, y, editor->paletteSize()), avatar);
  frame(x, y, true);
  frame(x + 20, y, true);
  frame(x + 20, y);
  EXPECT_FALSE(editor->overviewOpen());
  placeAt(1, 1);
  EXPECT_EQ(levelBytes(), "av1,1 ") << "the avatar chosen, and nothing placed by the held click";
  tap(ALLEGRO_KEY_TAB);
  tap(ALLEGRO_KEY_TAB);
  EXPECT_FALSE(editor->overviewOpen()) << "Tab closes it again";
  EXPECT_EQ(PaletteView::entryAt(5, 5, 36), -1) << "above the first row";
  EXPECT_EQ(PaletteView::entryAt(795, 100, 36), -1) << "right of the last column";
}

// A sign's text is typed when it is placed, or added to later with Enter over it. "$" ends a
// text in the level file and is never typed; a text holds at most 90 characters; Escape keeps
// the old text. A new sign and its text are one undo step; a later text is a step of its own.
TEST_F(EditorTest, SignTextIsTypedAndUndone) {
  choose(1);
  const std::string full = "Mind the gap now" + std::string(74, 'x');
  // Whether the sign is new (else Enter over the one there), the keys typed ('\b' backspace),
  // the key that closes the entry, the sign's text afterwards.
  const std::tuple<const char*, bool, std::string, int, std::string> rows[] = {
      {"a new sign with nothing typed keeps the palette's text", true, "", ALLEGRO_KEY_ENTER, "Test message."},
      {"a new sign takes what is typed", true, "Mind the gap", ALLEGRO_KEY_ENTER, "Mind the gap"},
      {"a dollar is never typed", false, "$ now$", ALLEGRO_KEY_ENTER, "Mind the gap now"},
      {"at most 90 characters", false, std::string(80, 'x'), ALLEGRO_KEY_ENTER, full},
      {"Escape keeps the old text", false, "\b\b\blost", ALLEGRO_KEY_ESCAPE, full},
  };
  for (const auto& [label, placed, typed, closingKey, text] : rows) {
    if (placed) {
      placeAt(3, 3);
    } else {
      frame(67, 73, false, false, {ALLEGRO_KEY_ENTER});
    }
    ASSERT_TRUE(editor->typingSignText()) << label;
    type(typed, closingKey);
    EXPECT_FALSE(editor->typingSignText()) << label;
    EXPECT_EQ(signText(3, 3), text) << label;
  }
  const std::string undone[] = {"Mind the gap now", "Mind the gap", "Test message.", "(no sign)"};
  for (const std::string& text : undone) {
    tap(ALLEGRO_KEY_Z, {ALLEGRO_KEY_LCTRL});
    EXPECT_EQ(signText(3, 3), text) << "after an undo";
  }
  for (int step = 0; step < 4; ++step) tap(ALLEGRO_KEY_Y, {ALLEGRO_KEY_LCTRL});
  tap(ALLEGRO_KEY_S);
  start();
  EXPECT_EQ(signText(3, 3), full) << "the saved file reads back";
}

// Unsaved work is written beside the file once a minute; its offer at the next start is the
// end-to-end editor test's business.
TEST_F(EditorTest, AutosaveIsWrittenAndOfferedAgain) {
  placeAt(1, 1);
  editor->update(30);
  EXPECT_FALSE(std::filesystem::exists("levels/edit.lv.autosave"));
  editor->update(31);
  EXPECT_EQ(readFileBytes("levels/edit.lv.autosave"), tileRecord(1, 1));
  placeAt(2, 2);
  editor->update(59);
  EXPECT_EQ(readFileBytes("levels/edit.lv.autosave").size(), 5u) << "at most once a minute";
}

// A file the editor did not read is never overwritten without asking: the test play never
// writes the file being edited, whatever its name; S and L notice a file changed on disk.
TEST_F(EditorTest, NothingUnreadIsOverwritten) {
  const std::string theirs = tileRecord(7, 7);
  directory.writeLevel("play.lv", theirs);
  start(directory.path("levels/./play.lv"));
  placeAt(2, 2);
  tap(ALLEGRO_KEY_P);
  ASSERT_EQ(editor->testPlays.size(), 1u);
  EXPECT_EQ(editor->playedBytes[0].size(), 10u) << "the play has the edit";
  EXPECT_EQ(readFileBytes("levels/play.lv"), theirs) << "the edited file is left as it was";

  start();
  placeAt(3, 3);
  tap(ALLEGRO_KEY_S);
  const std::string mine = tileRecord(3, 3);
  ASSERT_EQ(readFileBytes("levels/edit.lv"), mine);
  placeAt(4, 4);
  directory.writeLevel("edit.lv", theirs);  // another program writes the file meanwhile
  // The keys pressed when S asks, the level file afterwards, the level in the editor afterwards.
  const std::tuple<const char*, int, std::string, std::string> answers[] = {
      {"Enter cancels", ALLEGRO_KEY_ENTER, theirs, "tl3,3 tl4,4 "},
      {"L reloads theirs", ALLEGRO_KEY_L, theirs, "tl7,7 "},
  };
  for (const auto& [label, key, file, level] : answers) {
    tap(ALLEGRO_KEY_S);
    ASSERT_EQ(purpose(), EditorQuestion::Purpose::Overwrite) << label;
    tap(key);
    EXPECT_EQ(readFileBytes("levels/edit.lv"), file) << label;
    EXPECT_EQ(levelBytes(), level) << label;
  }
  tap(ALLEGRO_KEY_S);
  EXPECT_FALSE(editor->session().question().has_value()) << "the reloaded file is the one read";
  directory.writeLevel("edit.lv", mine);
  tap(ALLEGRO_KEY_L);
  EXPECT_EQ(editor->statusMessage(),
            "Loaded levels/edit.lv, as changed on disk since the editor last read or saved it");
  placeAt(5, 5);
  directory.writeLevel("edit.lv", theirs);
  EXPECT_FALSE(editor->onCloseRequest());
  tap(ALLEGRO_KEY_S);
  EXPECT_EQ(purpose(), EditorQuestion::Purpose::Overwrite) << "save and close asks too";
  tap(ALLEGRO_KEY_Y);
  EXPECT_EQ(readFileBytes("levels/edit.lv"), mine + tileRecord(5, 5)) << "Y keeps mine";
  EXPECT_EQ(editor->status, RunStatus::Running) << "closing is asked for again";
}

// The file keys: Ctrl+N, Ctrl+O and Ctrl+Shift+S (through the file dialog, which opens in the
// player's levels folder) and C (a campaign's folder, then the level's number) end with the file
// edited that they name; a dialog cancelled, an Escape or the keys without Ctrl change nothing.
TEST_F(EditorTest, FileKeysNameTheFileEdited) {
  const std::string levels = std::filesystem::current_path().string() + "/levels/";
  writeFileBytes("levels/other.lv", tileRecord(5, 5));
  struct Row {
    const char* label;
    std::vector<std::optional<std::string>> answers;
    std::function<void()> keys;
    std::string fileAfter;  // relative to the game's directory
    std::string asked;      // the dialog's question, "" when none opened
  } const rows[] = {
      {"Ctrl+N", {}, [this] { tap(ALLEGRO_KEY_N, {ALLEGRO_KEY_LCTRL}); }, "levels/new.lv", ""},
      {"N alone answers no question and starts nothing", {}, [this] { tap(ALLEGRO_KEY_N); }, "levels/edit.lv", ""},
      {"Ctrl+O",
       {levels + "other.lv"},
       [this] { tap(ALLEGRO_KEY_O, {ALLEGRO_KEY_LCTRL}); },
       "levels/other.lv",
       "Open a level in " + levels},
      {"Ctrl+O cancelled",
       {std::nullopt},
       [this] { tap(ALLEGRO_KEY_O, {ALLEGRO_KEY_RCTRL}); },
       "levels/edit.lv",
       "Open a level in " + levels},
      {"Ctrl+Shift+S, the suffix added",
       {levels + "mine"},
       [this] {
         tap(ALLEGRO_KEY_S, {ALLEGRO_KEY_LCTRL, ALLEGRO_KEY_LSHIFT});
       },
       "levels/mine.lv",
       "Save the level as in " + levels},
      {"C, then Escape",
       {},
       [this] {
         tap(ALLEGRO_KEY_C);
         type("pk", ALLEGRO_KEY_ESCAPE);
       },
       "levels/edit.lv",
       ""},
      {"C, a new campaign, its first level",
       {},
       [this] {
         tap(ALLEGRO_KEY_C);
         type("pk");
         type("");
       },
       "packs/pk/1.lv",
       ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    std::filesystem::remove_all("packs");
    start();
    placeAt(3, 3);
    tap(ALLEGRO_KEY_S);
    editor->fileAnswers = row.answers;
    row.keys();
    EXPECT_FALSE(editor->askingForCampaign());
    EXPECT_EQ(editor->fileQuestions, row.asked.empty() ? std::vector<std::string>{} : std::vector{row.asked});
    std::string file = editor->session().document().path();
    if (file.rfind(std::filesystem::current_path().string(), 0) == 0) file.erase(0, levels.size() - 7);
    EXPECT_EQ(file, row.fileAfter);
  }
  EXPECT_EQ(readFileBytes("packs/pk/1.lv"), tileRecord(3, 3)) << "the level saved into the campaign";
}

// The menu's Editor button acts on the press: the button is still down in the editor's first
// frames, and must be let go before anything is placed.
TEST_F(EditorTest, TheClickThatOpensTheEditorPlacesNothing) {
  editor = std::make_unique<ScriptedEditor>("levels/edit.lv");
  setCurrentState(editor.get());
  frame(107, 113, true);
  frame(127, 113, true);
  EXPECT_EQ(entityCount(), 0);
  frame(127, 113, false);
  placeAt(5, 5);
  EXPECT_EQ(levelBytes(), "tl5,5 ");
}

}  // namespace
