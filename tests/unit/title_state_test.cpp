#include "states/title_state.h"

#include <gtest/gtest.h>

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
#include "replay/replay_file.h"
#include "states/play_state.h"
#include "states/progress.h"
#include "states/title_settings.h"
#include "themes/themes.h"
#include "unit/game_directory.h"
#include "world/tag.h"

namespace {

// What a nested play was: its level index, the loose garbage of the file it loaded (level file N
// holds N pieces, so the count names the file) and the theme it was drawn in.
struct Played {
  int levelIndex;
  int looseCount;
  std::string theme;
  bool operator==(const Played& other) const {
    return levelIndex == other.levelIndex && looseCount == other.looseCount && theme == other.theme;
  }
};

std::ostream& operator<<(std::ostream& out, const Played& played) {
  return out << "{" << played.levelIndex << ", " << played.looseCount << ", " << played.theme << "}";
}

// A title state whose nested plays are real play states, made as the menu makes them, that run
// no loop: each is recorded and, when the test says so, stepped, then ends with the result the
// test's function gives.
class ScriptedTitle : public TitleState {
 public:
  std::function<PlayResult(PlayState&)> play = [](PlayState&) { return PlayResult::Menu; };
  std::vector<Played> played;

 protected:
  PlayResult playNested(PlayState& nested) override {
    played.push_back({nested.levelIndex, nested.context->grid->looseCount, nested.context->theme->name()});
    return play(nested);
  }
};

// Level file N holds N pieces of loose garbage in row 0.
std::string levelHolding(int pieces) {
  std::string bytes;
  for (int column = 0; column < pieces; ++column) bytes += std::string("lg") + char(column) + char(0);
  return bytes;
}

// Level files 1 .. levelFiles, a title background, a fresh progress record of `records` levels
// whose first `crowned` are completed with both crowns (three unlock points each), and a title
// state that is the current state, driven one frame at a time.
class TitleTest : public ::testing::Test {
 protected:
  void prepare(int records, int levelFiles, const std::string& background = "", int crowned = 0) {
    std::filesystem::remove_all("levels");
    std::filesystem::create_directory("levels");
    for (int n = 1; n <= levelFiles; ++n) directory.writeLevel(std::to_string(n) + ".lv", levelHolding(n));
    directory.writeLevel("title.lv", background);
    directory.writeLevel("winner.lv");
    progress() = Progress();
    progress().path = directory.path("binhopper.dat");
    progress().load(records);
    for (int i = 0; i < crowned; ++i) progress().recordCompletion(i, true, 1.0);
    createThemes();
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
  // Records, level files, the button clicked, the plays' results, and the levels played with the
  // loose garbage of the file each loaded.
  const std::tuple<const char*, int, int, int, std::vector<PlayResult>, std::vector<std::pair<int, int>>> rows[] = {
      {"R or Space after a death replays the level", 5, 5, 1, {retry, retry, menu}, {{1, 2}, {1, 2}, {1, 2}}},
      {"Space after a completion goes on, even to a locked level", 5, 5, 2, {next, menu}, {{2, 3}, {3, 4}}},
      {"the last level returns to the menu", 3, 3, 1, {next, next, next}, {{1, 2}, {2, 3}}},
      {"Escape returns at once", 5, 5, 0, {menu}, {{0, 1}}},
      {"retries and completions mixed",
       3,
       3,
       0,
       {retry, next, retry, next, next},
       {{0, 1}, {0, 1}, {1, 2}, {1, 2}, {2, 3}}},
      {"a record without a level file ends the run", 4, 3, 2, {next}, {{2, 3}}},
      {"a locked level's button does not play", 5, 5, 4, {}, {}},
  };
  for (const auto& [label, records, levelFiles, clicked, results, expected] : rows) {
    SCOPED_TRACE(label);
    prepare(records, levelFiles);
    std::vector<PlayResult> script = results;
    size_t given = 0;
    title->play = [&](PlayState&) { return given < script.size() ? script[given++] : PlayResult::Menu; };
    click(*title->levelButtons[clicked]);
    std::vector<std::pair<int, int>> levels;
    for (const Played& played : title->played) levels.emplace_back(played.levelIndex, played.looseCount);
    EXPECT_EQ(levels, expected);
    EXPECT_EQ(title->status, RunStatus::Running) << "the menu is back";
    TearDown();
  }
  prepare(5, 5);
  EXPECT_EQ(title->levelButtons[4]->label, "5");
  progress().recordCompletion(0, false, 20.0);
  progress().recordCompletion(1, false, 20.0);
  click(*title->levelButtons[4]);
  ASSERT_EQ(title->played.size(), 1u) << "a level unlocked while the menu is open plays";
  EXPECT_EQ(title->played[0].levelIndex, 4);
}

TEST_F(TitleTest, FinalButtonAppearsOnceEveryLevelIsCompleted) {
  prepare(3, 3);
  title->play = [](PlayState& nested) {
    progress().recordCompletion(nested.levelIndex, false, 10.0);
    return PlayResult::Menu;
  };
  for (int level : {1, 2, 0}) {
    EXPECT_EQ(title->finalButton, nullptr) << "before level " << level + 1 << " is completed";
    click(*title->levelButtons[level]);
  }
  ASSERT_NE(title->finalButton, nullptr);
  ASSERT_EQ(title->finalButton->world, title->world.get());
  click(*title->finalButton);
  ASSERT_EQ(title->played.size(), 4u);
  EXPECT_EQ(title->played.back(), (Played{kFinalScreenIndex, 0, "Sky"}));
  TearDown();
  prepare(0, 0);
  ASSERT_NE(title->finalButton, nullptr);
  EXPECT_EQ(title->finalButton->world, title->world.get()) << "with no levels at all it is there at once";
}

// With sixteen levels the final button takes grid place 16 (column 1, row 3), beside no level
// button; every flag is cleared in the update that reads it, so no click is carried over.
TEST_F(TitleTest, FinalButtonFollowsTheLastLevelButton) {
  prepare(16, 16);
  title->play = [](PlayState&) {
    for (int i = 0; i < 16; ++i) progress().recordCompletion(i, false, 10.0);
    return PlayResult::Menu;
  };
  click(*title->levelButtons[0]);
  ASSERT_NE(title->finalButton, nullptr);
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
  ASSERT_EQ(title->played.size(), 1u) << "the final screen never opens";
  EXPECT_EQ(title->played[0].levelIndex, 14);

  title->levelButtons[1]->clicked = true;
  title->themeButton->clicked = true;
  frame(0, 0, false);
  EXPECT_FALSE(title->themeButton->clicked) << "cleared in the update a level's click ended";
  frame(0, 0, false);
  EXPECT_EQ(title->themeButton->label, "Sky");
}

// Each press moves on to the next theme; one the points do not reach names what is missing and
// leaves the theme in use, in the menu's scene and for the levels played from it.
TEST_F(TitleTest, LockedThemesAreNeverUsed) {
  // Levels completed with both crowns, then per press the label and the theme in use.
  const std::tuple<int, std::vector<std::pair<std::string, std::string>>> rows[] = {
      {0,
       {{"Locked (6 more)", "Sky"},
        {"Locked (12 more)", "Sky"},
        {"Locked (18 more)", "Sky"},
        {"Locked (24 more)", "Sky"},
        {"Locked (30 more)", "Sky"},
        {"Sky", "Sky"}}},
      {4,
       {{"Sunset", "Sunset"},
        {"Mist", "Mist"},
        {"Locked (6 more)", "Mist"},
        {"Locked (12 more)", "Mist"},
        {"Locked (18 more)", "Mist"},
        {"Sky", "Sky"}}},
      {10, {{"Sunset", "Sunset"}, {"Mist", "Mist"}, {"Night", "Night"}, {"Crooked", "Crooked"}, {"Liquor", "Liquor"}}},
  };
  for (const auto& [levels, presses] : rows) {
    SCOPED_TRACE(std::to_string(levels * 3) + " points");
    prepare(10, 10, "", levels);
    for (const auto& [label, inUse] : presses) {
      click(*title->themeButton);
      EXPECT_EQ(title->themeButton->label, label);
      EXPECT_EQ(title->theme().name(), inUse);
      EXPECT_EQ(title->background->context->theme->name(), inUse) << "the menu's scene";
      EXPECT_EQ(settingsOf(*title, false).theme, inUse) << "what the settings keep";
    }
    click(*title->levelButtons[0]);
    ASSERT_FALSE(title->played.empty());
    EXPECT_EQ(title->played.back().theme, std::get<1>(presses.back())) << "a level played from the menu";
    TearDown();
  }
}

// The final screen shows the first theme, but the player's choice stays the menu's and is the
// one the settings keep.
TEST_F(TitleTest, ChosenThemeSurvivesTheFinalScreen) {
  prepare(6, 6, "", 6);
  for (int press = 0; press < 3; ++press) click(*title->themeButton);
  ASSERT_EQ(title->theme().name(), std::string("Night"));
  ASSERT_NE(title->finalButton, nullptr);
  title->play = [](PlayState& nested) {
    for (int i = 0; i < 3; ++i) nested.update(0.017);
    return PlayResult::Menu;
  };
  click(*title->finalButton);
  ASSERT_EQ(title->played.size(), 1u);
  EXPECT_EQ(title->played[0], (Played{kFinalScreenIndex, 0, "Sky"}));
  frame(0, 0, false);
  EXPECT_EQ(title->background->context->theme->name(), std::string("Night"));
  EXPECT_EQ(title->themeButton->label, "Night");
  EXPECT_EQ(settingsOf(*title, false).theme, "Night");
  click(*title->levelButtons[0]);
  EXPECT_EQ(title->played.back().theme, "Night") << "the next level is drawn in it too";
}

// The menu's scene and a level played from it are two levels alive at once: a press pad of the
// nested level switches off channel 1 there, while the scene's baddie keeps walking on its own
// channel-1 floor, during the nested play and after it.
TEST_F(TitleTest, NestedLevelSharesNoSwitchesWithTheMenusScene) {
  std::string scene;
  for (int column = 0; column < 5; ++column) scene += std::string("tl") + char(column) + char(10) + char(1);
  scene += std::string("bd") + char(2) + char(9) + char(0);
  prepare(3, 3, scene);
  directory.writeLevel("1.lv", std::string("pr") + char(4) + char(4) + char(1) + char(0));
  Entity* baddie = title->background->world->first(tagOf("badd"));
  ASSERT_NE(baddie, nullptr);
  std::vector<std::pair<int, int>> channelOne;  // (nested, scene) during the nested play
  title->play = [&](PlayState& nested) {
    nested.update(0.017);
    channelOne.emplace_back(nested.context->channelStates[1], title->background->context->channelStates[1]);
    return PlayResult::Menu;
  };
  click(*title->levelButtons[0]);
  EXPECT_EQ(channelOne, (std::vector<std::pair<int, int>>{{0, 1}}));
  for (int i = 0; i < 30; ++i) frame(0, 0, false);
  EXPECT_EQ(baddie->y(), 180.0) << "still walking on its floor";
}

}  // namespace

// A best run that cannot be watched is refused with the reason in the menu's notice, and the
// menu goes on; nothing is played.
TEST_F(TitleTest, ABestRunThatCannotBeWatchedIsRefusedInTheNotice) {
  prepare(2, 2, "", 1);
  Replay run;
  run.campaign = "levels";
  run.level = 1;
  run.outcome.status = Outcome::Completed;
  run.elapsed = 0.17;
  run.runs = {FrameRun{0.017, PlayInput{}, 10}};
  ASSERT_TRUE(hashLevelFile("levels/1.lv", run.levelHash).ok);
  const std::string good = encodeReplay(run);
  Replay changed = run;
  changed.levelHash ^= 1;
  auto patched = [&good](size_t at, const std::string& bytes) {
    return good.substr(0, at) + bytes + good.substr(at + bytes.size());
  };
  const std::string unreadable = "Level 1's best run cannot be read: ";
  const std::tuple<const char*, int, std::string, std::string> rows[] = {
      {"a changed level", 0, encodeReplay(changed), "this replay was recorded on a different version of level 1"},
      {"a truncated file", 0, good.substr(0, 30), unreadable + "byte 24: cut short in the elapsed time"},
      {"a wrong version", 0, patched(4, std::string("\x02\x00", 2)),
       unreadable + "byte 4: version 2, and this game reads version 1"},
      {"too many frames", 0, patched(32, std::string("\x01\x00\x04\x00", 4)),
       unreadable + "byte 32: 262145 frames, more than the 262144 a replay may hold"},
      {"no run of its own and not completed", 1, "", "Level 2 has no best run to watch yet."},
  };
  std::filesystem::create_directories("replays/levels");
  for (const auto& [label, levelIndex, bytes, message] : rows) {
    SCOPED_TRACE(label);
    std::filesystem::remove("replays/levels/1.rpl");
    if (!bytes.empty()) writeFileBytes("replays/levels/1.rpl", bytes);
    title->watchBestRun(levelIndex);
    ASSERT_TRUE(title->notice->visible);
    ASSERT_FALSE(title->notice->lines.empty());
    EXPECT_EQ(title->notice->lines.front().first, message);
    EXPECT_EQ(title->status, RunStatus::Running);
    frame(0, 0, true);
    frame(0, 0, false);
    EXPECT_FALSE(title->notice->visible) << "a click closes it";
  }
  EXPECT_TRUE(title->played.empty());
}
