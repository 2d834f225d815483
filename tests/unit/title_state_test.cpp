#include "states/title_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/input_snapshot.h"
#include "app/music.h"
#include "app/switch.h"
#include "states/play_state.h"
#include "states/progress.h"
#include "themes/themes.h"
#include "unit/game_directory.h"
#include "world/tag.h"

namespace {

// A title state whose nested plays are scripted: each play records the level index, checks its
// file and returns what the test's function gives for it. A file that is missing or listed as
// broken goes to the real play, which stops at loading it and runs no loop.
class ScriptedTitle : public TitleState {
 public:
  std::function<PlayResult(int)> play = [](int) { return PlayResult::Menu; };
  std::vector<int> played;
  std::vector<std::string> broken;

 protected:
  std::optional<PlayResult> runPlay(int levelIndex, const char* fileName) override {
    if (!std::filesystem::exists(fileName) || std::count(broken.begin(), broken.end(), fileName)) {
      return TitleState::runPlay(levelIndex, fileName);
    }
    played.push_back(levelIndex);
    EXPECT_EQ(fileName, levelIndex == kFinalScreenIndex ? "levels/winner.lv"
                                                        : "levels/" + std::to_string(levelIndex + 1) + ".lv");
    return play(levelIndex);
  }
};

// Level files 1 .. levelFiles, a title background, a fresh progress record of `records` levels,
// and a title state that is the current state, driven one frame at a time.
class TitleTest : public ::testing::Test {
 protected:
  void prepare(int records, int levelFiles, const std::string& background = "") {
    std::filesystem::remove_all("levels");
    std::filesystem::create_directory("levels");
    for (int n = 1; n <= levelFiles; ++n) directory.writeLevel(std::to_string(n) + ".lv");
    directory.writeLevel("title.lv", background);
    directory.writeLevel("winner.lv");
    progress() = Progress();
    progress().path = directory.path("binhopper.dat");
    progress().load(records);
    if (!themes[0]) createThemes();
    initMusic(1);
    Controls();
    title = std::make_unique<ScriptedTitle>();
    setCurrentState(title.get());
    frame(0, 0, false);  // the widgets enter the world at the first update
  }
  void TearDown() override {
    title.reset();
    setCurrentState(nullptr);
    progress() = Progress();
    currentTheme = themes[0];
    stopMusic();
  }

  void frame(int x, int y, bool buttonDown, bool escapeDown = false) {
    setMousePosition(title->mouse, x, y);
    setMouseButton(title->mouse, 1, buttonDown);
    setKeyDown(title->keyboard, ALLEGRO_KEY_ESCAPE, escapeDown);
    refreshRootSwitches();
    title->update(0.017);
  }
  // Moves onto the button, presses and releases it.
  void click(const GuiButton& button) {
    int x = static_cast<int>((button.rect.left + button.rect.right) / 2);
    int y = static_cast<int>((button.rect.top + button.rect.bottom) / 2);
    frame(x, y, false);
    frame(x, y, true);
    frame(x, y, false);
  }

  GameDirectory directory;
  std::unique_ptr<ScriptedTitle> title;
};

TEST_F(TitleTest, LevelsPlayInSequenceWhileTheResultsAskForIt) {
  const PlayResult menu = PlayResult::Menu, retry = PlayResult::Retry, next = PlayResult::Next;
  // Records, level files, the button clicked, the plays' results and the levels played.
  const std::tuple<const char*, int, int, int, std::vector<PlayResult>, std::vector<int>> rows[] = {
      {"R or Space after a death replays the level", 5, 5, 1, {retry, retry, menu}, {1, 1, 1}},
      {"Space after a completion goes on, even to a locked level", 5, 5, 2, {next, menu}, {2, 3}},
      {"the last level returns to the menu", 3, 3, 1, {next, next, next}, {1, 2}},
      {"Escape returns at once", 5, 5, 0, {menu}, {0}},
      {"retries and completions mixed", 3, 3, 0, {retry, next, retry, next, next}, {0, 0, 1, 1, 2}},
      {"a record without a level file ends the run", 4, 3, 2, {next}, {2}},
      {"a locked level's button does not play", 5, 5, 4, {}, {}},
  };
  for (const auto& [label, records, levelFiles, clicked, results, expectedLevels] : rows) {
    SCOPED_TRACE(label);
    prepare(records, levelFiles);
    std::vector<PlayResult> script = results;
    size_t played = 0;
    title->play = [&](int) { return played < script.size() ? script[played++] : PlayResult::Menu; };
    click(*title->levelButtons[clicked]);
    EXPECT_EQ(title->played, expectedLevels);
    EXPECT_EQ(title->status, RunStatus::Running) << "the menu is back";
    TearDown();
  }
  prepare(5, 5);
  EXPECT_EQ(title->levelButtons[4]->label, "5");
  progress().recordCompletion(0, false, 20.0);
  progress().recordCompletion(1, false, 20.0);
  click(*title->levelButtons[4]);
  EXPECT_EQ(title->played, std::vector<int>{4}) << "a level unlocked while the menu is open plays";
}

TEST_F(TitleTest, FinalButtonAppearsOnceEveryLevelIsCompleted) {
  prepare(3, 3);
  title->play = [](int level) {
    progress().recordCompletion(level, false, 10.0);
    return PlayResult::Menu;
  };
  for (int level : {1, 2, 0}) {
    EXPECT_EQ(title->finalButton, nullptr) << "before level " << level + 1 << " is completed";
    click(*title->levelButtons[level]);
  }
  ASSERT_NE(title->finalButton, nullptr);
  ASSERT_EQ(title->finalButton->world, title->world.get());
  click(*title->finalButton);
  EXPECT_EQ(title->played, (std::vector<int>{1, 2, 0, kFinalScreenIndex}));
  TearDown();
  prepare(0, 0);
  ASSERT_NE(title->finalButton, nullptr);
  EXPECT_EQ(title->finalButton->world, title->world.get()) << "with no levels at all it is there at once";
}

// With sixteen levels the final button takes grid place 16 (column 1, row 3), beside no level
// button; every flag is cleared in the update that reads it, so no click is carried over.
TEST_F(TitleTest, FinalButtonFollowsTheLastLevelButton) {
  prepare(16, 16);
  title->play = [](int) {
    for (int i = 0; i < 16; ++i) progress().recordCompletion(i, false, 10.0);
    return PlayResult::Menu;
  };
  click(*title->levelButtons[0]);
  ASSERT_NE(title->finalButton, nullptr);
  ASSERT_EQ(title->finalButton->world, title->world.get());
  const Box& place = title->finalButton->rect;
  EXPECT_EQ(std::make_tuple(place.left, place.top, place.right, place.bottom),
            std::make_tuple(95.0, 480.0, 125.0, 510.0));
  for (LevelButton* button : title->levelButtons) {
    const Box& other = button->rect;
    EXPECT_TRUE(other.right <= place.left || place.right <= other.left || other.bottom <= place.top ||
                place.bottom <= other.top)
        << "level " << button->levelIndex + 1;
  }
  title->played.clear();
  click(*title->levelButtons[14]);
  for (int i = 0; i < 5; ++i) frame(0, 0, false);
  EXPECT_EQ(title->played, std::vector<int>{14}) << "the final screen never opens";

  title->levelButtons[1]->clicked = true;
  title->themeButton->clicked = true;
  frame(0, 0, false);
  EXPECT_FALSE(title->themeButton->clicked) << "cleared in the update a level's click ended";
  frame(0, 0, false);
  EXPECT_EQ(title->themeButton->label, "Sky");
}

TEST_F(TitleTest, BackgroundPlaysOnAfterANestedLevelClearedThePlayContext) {
  // A floor of five tiles in row 10 and a tame baddie on it: the baddie asks the current play
  // context's grid for the ground in every update.
  std::string background;
  for (int column = 0; column < 5; ++column) background += std::string("tl") + char(column) + char(10) + char(0);
  background += std::string("bd") + char(2) + char(9) + char(0);
  prepare(3, 3, background);
  PlayContext* afterNested = title->background->context.get();
  title->play = [&afterNested](int level) {
    { PlayState nested(level, "levels/1.lv"); }  // replaces the current context, then clears it
    afterNested = currentPlayContext();
    return PlayResult::Menu;
  };
  click(*title->levelButtons[0]);
  ASSERT_EQ(title->played.size(), 1u);
  EXPECT_EQ(afterNested, nullptr) << "the nested level's end left no context";
  for (int i = 0; i < 30; ++i) frame(0, 0, false);
  EXPECT_EQ(currentPlayContext(), title->background->context.get());
  Entity* baddie = title->background->world->first(tagOf("badd"));
  ASSERT_NE(baddie, nullptr);
  EXPECT_EQ(baddie->y(), 180.0) << "still walking on its floor";
}

}  // namespace
