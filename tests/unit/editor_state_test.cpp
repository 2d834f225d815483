#include "editor/editor_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/input_snapshot.h"
#include "app/switch.h"
#include "entities/channel_states.h"
#include "unit/game_directory.h"
#include "world/tag.h"

namespace {

// An editor whose test play is recorded instead of run in a loop of its own.
class ScriptedEditor : public EditorState {
 public:
  std::vector<std::string> testPlays;

 protected:
  void runTestPlay(const char* fileName) override { testPlays.push_back(fileName); }
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Controls();
    editor = std::make_unique<ScriptedEditor>();
    setCurrentState(editor.get());
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
    editor->mouse.z = wheel;
    refreshRootSwitches();
    editor->update(0.017);
  }
  // Presses a key for one frame and lets it go in the next.
  void tap(int key) {
    frame(0, 0, false, false, {key});
    frame();
  }
  // A click of the primary button in the cell at (column, row).
  void placeAt(int column, int row) {
    frame(column * 20 + 7, row * 20 + 13, true);
    frame(column * 20 + 7, row * 20 + 13, false);
  }
  int entityCount() { return static_cast<int>(editor->world->byTag(tagOf("entt")).size()); }
  std::string label(const Entity* entity) { return entity ? entity->editorLabel() : "empty"; }

  GameDirectory directory;
  std::unique_ptr<ScriptedEditor> editor;
  int wheel = 0;
};

TEST_F(EditorTest, KeysAndWheelChooseWithWrapAround) {
  tap(ALLEGRO_KEY_Z);
  EXPECT_EQ(editor->selected, 35) << "Z on the first prototype selects the last";
  tap(ALLEGRO_KEY_X);
  EXPECT_EQ(editor->selected, 0) << "X on the last selects the first";
  frame(0, 0, false, false, {ALLEGRO_KEY_X});
  frame(0, 0, false, false, {ALLEGRO_KEY_X});
  EXPECT_EQ(editor->selected, 1) << "a held key counts once";

  const std::tuple<const char*, int, int> rows[] = {
      {"one notch up", 1, 2},
      {"one notch down", -1, 1},
      {"down past the first", -2, 35},
      {"up past the last", 3, 2},
      {"far down in one update: 2 - 100 = -98, which is 10 in 0..35", -100, 10},
      {"far up in one update", 75, 13},
  };
  for (const auto& [label, notches, selected] : rows) {
    wheel += notches;
    frame();
    EXPECT_EQ(editor->selected, selected) << label;
  }
}

TEST_F(EditorTest, PressPlacesOnceAndDragPaintsEachNewCell) {
  frame(47, 65, true);
  Entity* first = editor->cellAt(2, 3);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->position(), std::make_pair(40.0, 60.0));
  frame(52, 71, true);
  EXPECT_EQ(entityCount(), 1) << "holding still in the same cell places nothing more";
  frame(65, 71, true);
  frame(85, 71, true);
  frame(86, 72, true);
  EXPECT_EQ(entityCount(), 3) << "one placement per cell entered";
  EXPECT_TRUE(editor->cellAt(3, 3) && editor->cellAt(4, 3));
  frame();
  tap(ALLEGRO_KEY_X);
  placeAt(2, 3);
  EXPECT_EQ(label(editor->cellAt(2, 3)), "message") << "an occupied cell is replaced";
  EXPECT_EQ(entityCount(), 3);
  for (auto outside : {std::make_pair(-5, 100), {100, -3}, {800, 100}, {100, 600}}) {
    frame(outside.first, outside.second, true);
    frame();
  }
  EXPECT_EQ(entityCount(), 3) << "outside the grid nothing is placed";
  EXPECT_EQ(editor->cellAt(0, 5), nullptr) << "x = -5 must not count as column 0";
}

TEST_F(EditorTest, EraseAndBothButtons) {
  placeAt(5, 5);
  placeAt(6, 5);
  frame(105, 105, false, true);
  EXPECT_EQ(editor->cellAt(5, 5), nullptr);
  EXPECT_EQ(entityCount(), 1);
  frame(105, 105, false, true);
  EXPECT_EQ(entityCount(), 1) << "erasing an empty cell does nothing";
  frame();
  frame(125, 105, true, true);
  EXPECT_EQ(editor->cellAt(6, 5), nullptr) << "placed and erased in one update: the cell ends empty";
  EXPECT_EQ(entityCount(), 0);
}

TEST_F(EditorTest, SaveThenLoadMirrorsTheFileInTheCells) {
  placeAt(1, 1);
  tap(ALLEGRO_KEY_X);
  placeAt(2, 1);
  tap(ALLEGRO_KEY_S);
  EXPECT_EQ(readFileBytes("levels/edit.lv"), std::string("tl\x01\x01\x00ms\x02\x01Test message.$", 23));

  tap(ALLEGRO_KEY_Z);
  placeAt(10, 10);
  placeAt(1, 1);
  ASSERT_EQ(entityCount(), 3);
  tap(ALLEGRO_KEY_L);
  EXPECT_EQ(entityCount(), 2);
  EXPECT_EQ(label(editor->cellAt(1, 1)), "tile(0)");
  EXPECT_EQ(label(editor->cellAt(2, 1)), "message");
  EXPECT_EQ(editor->cellAt(10, 10), nullptr) << "an entity gone with the load leaves no cell behind";
  for (Entity* entity : editor->world->byTag(tagOf("entt"))) {
    EXPECT_EQ(editor->cellAt(static_cast<int>(entity->x()) / 20, static_cast<int>(entity->y()) / 20), entity);
  }
  placeAt(10, 10);
  EXPECT_EQ(entityCount(), 3) << "the emptied cell takes a new entity";
}

TEST_F(EditorTest, LoadFailureKeepsTheLevelBeingEdited) {
  const std::tuple<const char*, bool, std::string, std::string> rows[] = {
      {"missing file", false, "", "CANNOT OPEN 'levels/edit.lv'!!!"},
      {"unknown record", true, std::string("tl\x01\x01\x00zz\x02\x02", 9), "UNMAPPABLE 'zz'!!!"},
  };
  placeAt(3, 4);
  Entity* kept = editor->cellAt(3, 4);
  for (const auto& [label, writeFile, bytes, message] : rows) {
    SCOPED_TRACE(label);
    std::filesystem::remove("levels/edit.lv");
    if (writeFile) directory.writeLevel("edit.lv", bytes);
    ::testing::internal::CaptureStdout();
    tap(ALLEGRO_KEY_L);
    std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find(message), std::string::npos) << printed;
    EXPECT_EQ(editor->status, 0);
    EXPECT_EQ(entityCount(), 1);
    EXPECT_EQ(editor->cellAt(3, 4), kept);
  }
}

// P plays a written copy and leaves the level as it was; S and P on files that cannot be
// written report them and play nothing.
TEST_F(EditorTest, TestPlayAndSaveOnlyWithAWrittenFile) {
  placeAt(4, 5);
  channelStates[3] = 0;
  tap(ALLEGRO_KEY_P);
  ASSERT_EQ(editor->testPlays, std::vector<std::string>{"levels/play.lv"});
  EXPECT_EQ(readFileBytes("levels/play.lv"), std::string("tl\x04\x05\x00", 5));
  EXPECT_EQ(channelStates[3], 1) << "all channels are on again after the play";
  EXPECT_EQ(entityCount(), 1);

  std::filesystem::remove_all("levels");
  writeFileBytes("levels", "a file where the folder should be");
  ::testing::internal::CaptureStdout();
  tap(ALLEGRO_KEY_S);
  tap(ALLEGRO_KEY_P);
  std::string printed = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(printed.find("CANNOT OPEN 'levels/edit.lv'!!!"), std::string::npos) << printed;
  EXPECT_NE(printed.find("CANNOT OPEN 'levels/play.lv'!!!"), std::string::npos) << printed;
  EXPECT_EQ(editor->testPlays.size(), 1u);
  EXPECT_EQ(editor->status, 0);
  EXPECT_EQ(entityCount(), 1);
}

}  // namespace
