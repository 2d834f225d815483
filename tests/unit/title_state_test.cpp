#include "states/title_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/gamepad.h"
#include "app/input_snapshot.h"
#include "app/music.h"
#include "app/switch.h"
#include "campaign/progress.h"
#include "replay/replay_file.h"
#include "sim/simulator.h"
#include "states/play_state.h"
#include "states/title_settings.h"
#include "themes/themes.h"
#include "unit/game_directory.h"

using namespace std::string_literals;

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
  int optionsShown = 0;

 protected:
  void showOptions(OptionsState&) override { ++optionsShown; }
  PlayResult playNested(PlayState& nested) override {
    PlaySession& session = nested.session();
    int index = session.played().kind == PlayKind::FinalScreen ? kFinalScreenIndex : session.played().index();
    played.push_back({index, session.context().grid->looseCount, session.context().theme->name()});
    return play(nested);
  }
};

// Level file N holds N pieces of loose garbage in row 0.
std::string levelHolding(int pieces) {
  std::string bytes;
  for (int column = 0; column < pieces; ++column) bytes += std::string("lg") + char(column) + char(0);
  return bytes;
}

// Level files 1 .. levelFiles, an empty title background, a fresh progress record of `records`
// levels whose first `crowned` are completed with both crowns (three unlock points each), and a
// title state that is the current state, driven one frame at a time.
class TitleTest : public ::testing::Test {
 protected:
  void prepare(int records, int levelFiles, int crowned = 0) {
    std::filesystem::remove_all("levels");
    std::filesystem::create_directory("levels");
    for (int n = 1; n <= levelFiles; ++n) directory.writeLevel(std::to_string(n) + ".lv", levelHolding(n));
    if (!builtInPack.empty()) directory.writeLevel("pack.txt", builtInPack);
    directory.writeLevel("title.lv");
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

  void frame(int x, int y, bool buttonDown) {
    setMousePosition(title->mouse, x, y);
    setMouseButton(title->mouse, 1, buttonDown);
    refreshRootSwitches();
    title->update(0.017);
  }
  // Each nested play completes the level it plays, without crowns.
  void completeEachPlayedLevel() {
    title->play = [](PlayState& nested) {
      progress().recordCompletion(nested.session().played().index(), false, 10.0);
      return PlayResult::Menu;
    };
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
  std::string builtInPack;  // levels/pack.txt, when the test gives one
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
  for (int i = 0; i < 2; ++i) progress().recordCompletion(i, false, 20.0);
  click(*title->levelButtons[4]);
  ASSERT_EQ(title->played.size(), 1u) << "a level unlocked while the menu is open plays";
  EXPECT_EQ(title->played[0].levelIndex, 4);
}

// The final button appears once every level is completed, even with no levels at all. With
// sixteen levels it takes the grid's next place, overlapping no level button; every flag is
// cleared in the update that reads it, so no click is carried over.
TEST_F(TitleTest, FinalButtonAppearsOnceEveryLevelIsCompleted) {
  prepare(0, 0);
  ASSERT_NE(title->finalButton, nullptr);
  EXPECT_EQ(title->finalButton->world, title->world.get()) << "with no levels at all it is there at once";
  TearDown();

  prepare(16, 16, 15);
  completeEachPlayedLevel();
  EXPECT_EQ(title->finalButton, nullptr) << "before the last level is completed";
  click(*title->levelButtons[15]);
  ASSERT_NE(title->finalButton, nullptr);
  const Box& place = title->finalButton->rect;
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
// leaves the theme in use, in the menu's scene and for the levels played from it. The final
// screen shows the first theme, but the player's choice stays the menu's and the settings'.
TEST_F(TitleTest, LockedThemesAreNeverUsedAndTheChoiceSurvivesTheFinalScreen) {
  // Levels completed with both crowns (of ten), then per press the label; a locked theme's press
  // leaves the theme in use as it was.
  const std::tuple<int, std::vector<std::string>> rows[] = {
      {0, {"Locked (6 more)", "Locked (12 more)", "Locked (18 more)", "Locked (24 more)", "Locked (30 more)", "Sky"}},
      {4, {"Sunset", "Mist", "Locked (6 more)", "Locked (12 more)", "Locked (18 more)", "Sky"}},
      {10, {"Sunset", "Mist", "Night", "Crooked", "Liquor"}},
  };
  for (const auto& [levels, labels] : rows) {
    SCOPED_TRACE(std::to_string(levels * 3) + " points");
    prepare(10, 10, levels);
    title->play = [](PlayState& nested) {
      for (int i = 0; i < 3; ++i) nested.update(0.017);
      return PlayResult::Menu;
    };
    std::string chosen = "Sky";
    auto expectChosen = [&](const std::string& label) {
      EXPECT_EQ(title->themeButton->label, label);
      EXPECT_EQ(title->theme().name(), chosen);
      EXPECT_EQ(title->background->session().context().theme->name(), chosen) << "the menu's scene";
      EXPECT_EQ(settingsOf(*title, false).theme, chosen) << "what the settings keep";
    };
    for (const std::string& label : labels) {
      click(*title->themeButton);
      if (label.rfind("Locked", 0) != 0) chosen = label;
      expectChosen(label);
    }
    ASSERT_EQ(title->finalButton != nullptr, levels == 10);
    if (title->finalButton) {
      click(*title->finalButton);
      ASSERT_EQ(title->played.size(), 1u);
      EXPECT_EQ(title->played[0], (Played{kFinalScreenIndex, 0, "Sky"}));
      frame(0, 0, false);
      expectChosen(labels.back());
    }
    click(*title->levelButtons[0]);
    ASSERT_FALSE(title->played.empty());
    EXPECT_EQ(title->played.back().theme, chosen) << "a level played from the menu";
    TearDown();
  }
}

// Keys pressed one after another (each held for a frame, then let go), and then the button the
// focus mark is on and what was pressed. Five of sixteen levels are open. Tokens: L R U D the
// arrows, E Enter, Z, Q Escape, M a mouse move, S the gamepad's Start (its sticks press the keys
// above, which is the gamepad tests' business).
TEST_F(TitleTest, MenuFocusFromKeysAndGamepad) {
  const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
      {"nothing pressed, nothing shown", "", "none", ""},
      {"locked levels are passed over", "RRRRR", "level 5", ""},
      {"from the grid's row to the column on its right", "RRRRRR", "theme", ""},
      {"down the column", "RRRRRRD", "music", ""},
      {"down to Campaign", "RRRRRRDD", "campaign", ""},
      {"down to Options", "RRRRRRDDD", "options", ""},
      {"nothing further down", "RRRRRRDDDD", "options", ""},
      {"Options left to Quit", "RRRRRRDDDL", "quit", ""},
      {"the column back to the grid", "RRRRRRL", "level 5", ""},
      {"down from a level with none open below", "RD", "quit", ""},
      {"Enter presses", "EE", "level 1", "play 0"},
      {"Z presses", "RRZ", "level 2", "play 1"},
      {"pressing the theme", "RRRRRRE", "theme", "theme Locked (4 more)"},
      {"pressing Options", "RRRRRRDDDE", "options", "options"},
      {"pressing Quit", "RRRRRRDDDLE", "quit", "quit"},
      {"a mouse move hides it", "RRM", "none", ""},
      {"and the next arrow shows it where it was", "RRMR", "level 2", ""},
      {"Escape still quits", "RQ", "level 1", "quit"},
      {"the gamepad's Start opens the options", "S", "none", "options"},
  };
  const std::map<char, int> keyCodes = {{'L', ALLEGRO_KEY_LEFT},  {'R', ALLEGRO_KEY_RIGHT}, {'U', ALLEGRO_KEY_UP},
                                        {'D', ALLEGRO_KEY_DOWN},  {'E', ALLEGRO_KEY_ENTER}, {'Z', ALLEGRO_KEY_Z},
                                        {'Q', ALLEGRO_KEY_ESCAPE}};
  GamepadReading start;
  start.buttons = std::vector<bool>(10, false);
  start.buttons[9] = true;
  start.startButton = 9;
  for (const auto& [label, keys, focused, pressed] : rows) {
    SCOPED_TRACE(label);
    prepare(16, 16);
    for (int i = 0; i < 2; ++i) progress().recordCompletion(i, false, 20.0);
    int mouseX = 0;
    auto step = [&](char token, bool down) {
      title->keyboard = ALLEGRO_KEYBOARD_STATE{};
      if (down && keyCodes.count(token)) setKeyDown(title->keyboard, keyCodes.at(token), true);
      if (down && token == 'M') mouseX += 5;
      pressGamepadKeys(down && token == 'S' ? start : GamepadReading(), title->keyboard);
      setMousePosition(title->mouse, mouseX, 0);
      refreshRootSwitches();
      title->update(0.017);
    };
    for (const char* key = keys; *key && title->status == RunStatus::Running; ++key) {
      step(*key, true);
      step(*key, false);
    }
    std::map<std::string, GuiButton*> buttons = {{"none", nullptr},
                                                 {"theme", title->themeButton},
                                                 {"music", title->musicButton},
                                                 {"campaign", title->campaignButton},
                                                 {"options", title->optionsButton},
                                                 {"quit", title->quitButton}};
    for (LevelButton* button : title->levelButtons) buttons["level " + std::to_string(button->levelIndex + 1)] = button;
    EXPECT_EQ(title->focus.focused(), buttons.at(focused));
    std::string happened;
    for (const Played& play : title->played) happened += "play " + std::to_string(play.levelIndex);
    if (title->themeButton->label != "Sky") happened += "theme " + title->themeButton->label;
    if (title->optionsShown) happened += "options";
    if (title->status == RunStatus::Done) happened += "quit";
    EXPECT_EQ(happened, pressed);
    TearDown();
  }
}

// Packs beside the built-in campaign: "Alpha Pack" in packs/zeta (levels holding 11 and 12
// pieces of loose garbage) and "Broken" in packs/beta, whose pack.txt has a bad line and whose
// first level is missing.
class CampaignMenuTest : public TitleTest {
 protected:
  void preparePacks() {
    std::filesystem::remove_all("packs");
    std::filesystem::remove_all("progress");
    writeFile("packs/zeta/pack.txt", "name = Alpha Pack\nlevel 1 = 5.5 Bin Day\nlevel 2 = 7.0\n");
    writeFile("packs/zeta/1.lv", levelHolding(11));
    writeFile("packs/zeta/2.lv", levelHolding(12));
    writeFile("packs/beta/pack.txt", "name = Broken\nlevel 1 = -3 Bad\nlevel 2 = 4 Fine\n");
    writeFile("packs/beta/2.lv", levelHolding(22));
    builtInPack = "name = Binhopper\nlevel 1 = 15.0 First Steps\nlevel 2 = 21.0\nlevel 3 = 13.5\n";
    prepare(3, 3);
  }
  void writeFile(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(directory.path(name)).parent_path());
    writeFileBytes(directory.path(name), bytes);
  }
  // The notice's lines, each ended by a newline; nothing while it is hidden.
  std::string notice() const {
    std::string text;
    for (const auto& line : title->notice->lines) text += line.first + "\n";
    return title->notice->visible ? text : "";
  }
  bool noticeHas(const std::string& text) const { return notice().find(text) != std::string::npos; }
};

// The campaign button steps through the built-in campaign and the packs by name; the grid, the
// points, the final button and the levels played follow it, and a pack's completions go to
// its own record.
TEST_F(CampaignMenuTest, CampaignButtonCyclesAndTheGridFollows) {
  preparePacks();
  // The campaign's label, its level buttons, its points and the campaign the settings keep.
  auto expect = [&](const std::string& label, size_t buttons, const std::string& points, const std::string& kept) {
    EXPECT_EQ(title->campaignButton->label, label);
    EXPECT_EQ(title->levelButtons.size(), buttons);
    EXPECT_EQ(title->pointsText->text, points);
    EXPECT_EQ(settingsOf(*title, false).campaign, kept);
  };
  expect("Binhopper", 3, "Unlock points: 0/9", "levels");
  click(*title->campaignButton);
  expect("Alpha Pack", 2, "Unlock points: 0/6", "zeta");
  EXPECT_EQ(title->finalButton, nullptr);

  std::vector<PlayedLevel> levels;
  title->play = [&](PlayState& nested) {
    levels.push_back(nested.session().played());
    nested.session().played().record->recordCompletion(nested.session().played().index(), true, 6.0);
    return PlayResult::Next;
  };
  click(*title->levelButtons[0]);
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(title->played[0].looseCount, 11) << "the pack's own level file";
  EXPECT_EQ(title->played[1].looseCount, 12);
  EXPECT_EQ(std::make_tuple(levels[1].campaign, levels[1].number, levels[1].name), std::make_tuple("zeta"s, 2, ""s));
  frame(0, 0, false);
  expect("Alpha Pack", 2, "Unlock points: 5/6", "zeta");  // silver under 7.0 s only: the pack's targets
  ASSERT_NE(title->finalButton, nullptr) << "both of the pack's levels are completed";
  EXPECT_EQ(progress().completedCount(), 0u) << "the built-in record is untouched";

  click(*title->campaignButton);
  expect("Broken (!)", 2, "Unlock points: 0/6", "beta");
  EXPECT_TRUE(noticeHas("The campaign 'Broken' has problems")) << "shown when it is chosen";
  title->played.clear();
  title->play = [](PlayState&) { return PlayResult::Menu; };
  click(*title->levelButtons[1]);
  ASSERT_EQ(title->played.size(), 1u) << "its level that loads plays";
  EXPECT_EQ(title->played[0].looseCount, 22);
  click(*title->levelButtons[0]);
  EXPECT_EQ(title->played.size(), 1u) << "the missing one does not";

  click(*title->campaignButton);
  expect("Binhopper", 3, "Unlock points: 0/9", "levels");
  EXPECT_EQ(title->finalButton, nullptr);
  EXPECT_FALSE(std::filesystem::exists(directory.path("binhopper.dat"))) << "the menu leaves it to start-up";
}

// The settings name the campaign by its folder; one that is gone gives the built-in campaign.
// Themes unlock from the built-in campaign's points whichever campaign is shown.
TEST_F(CampaignMenuTest, RememberedCampaignAndThemes) {
  const std::tuple<std::string, std::string, std::string> rows[] = {
      {"zeta", "Alpha Pack", "zeta"},
      {"beta", "Broken (!)", "beta"},
      {"gone", "Binhopper", "levels"},
  };
  for (const auto& [remembered, label, kept] : rows) {
    SCOPED_TRACE(remembered);
    preparePacks();
    Settings settings;
    settings.campaign = remembered;
    applySettings(*title, settings);
    EXPECT_EQ(title->campaignButton->label, label);
    EXPECT_EQ(settingsOf(*title, false).campaign, kept);
    TearDown();
  }
  preparePacks();
  for (int i = 0; i < 2; ++i) progress().recordCompletion(i, true, 1.0);
  click(*title->campaignButton);
  click(*title->themeButton);
  EXPECT_EQ(title->theme().name(), std::string("Sunset")) << "6 points of the built-in campaign";
}

// A run of a copy of the data with a 17th level left binhopper.dat with 17 records. The game of
// 16 levels keeps the 17th record in the file but shows 16 buttons, counts 16 levels' points,
// and offers the final screen once the 16 are completed.
TEST_F(CampaignMenuTest, RecordsBeyondTheLevelsNeitherShowNorCount) {
  std::string file = "\0\0\0\0\x11"s;
  for (int i = 0; i < 17; ++i) {
    bool done = i < 15 || i == 16;
    file += "\x01"s + char(done) + char(i == 16) + char(i == 16) + "\0\0\0\0\0\x38\x8F\x40"s;
  }
  writeFileBytes(directory.path("binhopper.dat"), file);
  prepare(17, 16);
  EXPECT_EQ(title->levelButtons.size(), 16u);
  EXPECT_EQ(title->pointsText->text, "Unlock points: 15/48");
  EXPECT_EQ(title->finalButton, nullptr) << "16 completions, but the 16th level is not one of them";
  completeEachPlayedLevel();
  click(*title->levelButtons[15]);
  EXPECT_EQ(title->pointsText->text, "Unlock points: 16/48");
  ASSERT_NE(title->finalButton, nullptr);
  ASSERT_TRUE(progress().save().ok);
  EXPECT_EQ(readFileBytes(directory.path("binhopper.dat")).size(), 5u + 12 * 17) << "the 17th record stays";
}

// A damaged pack progress file is set aside as .bad, what can be trusted is kept, and the menu
// says so once, when the pack is first chosen.
TEST_F(CampaignMenuTest, DamagedPackProgressIsSetAside) {
  const std::string damaged = "\x02\0\0\0\x02"s + "\x01\x01\x00\x00"s + "\0\0\0\0\0\x38\x8F\x40"s + "\x07"s;
  preparePacks();
  writeFile("progress/zeta.dat", damaged);
  click(*title->campaignButton);
  EXPECT_EQ(readFileBytes(directory.path("progress/zeta.dat.bad")), damaged);
  EXPECT_TRUE(noticeHas("progress/zeta.dat' was damaged")) << notice();
  EXPECT_EQ(title->pointsText->text, "Unlock points: 1/6") << "the whole record was kept";
  frame(0, 0, true);
  frame(0, 0, false);
  for (int press = 0; press < 3; ++press) click(*title->campaignButton);
  EXPECT_EQ(title->campaignButton->label, "Alpha Pack");
  EXPECT_FALSE(noticeHas("damaged")) << "said once";
  title->campaigns.savePackRecords();
  EXPECT_EQ(readFileBytes(directory.path("progress/zeta.dat")).size(), 5u + 12 * 2);
  EXPECT_EQ(readFileBytes(directory.path("progress/zeta.dat.bad")), damaged);
}

}  // namespace

// A best run that cannot be watched is refused with the reason in the menu's notice, and the
// menu goes on; nothing is played.
TEST_F(TitleTest, ABestRunThatCannotBeWatchedIsRefusedInTheNotice) {
  prepare(2, 2, 1);
  Replay run;
  run.campaign = "levels";
  run.level = 1;
  run.outcome.status = Outcome::Completed;
  run.elapsed = 0.17;
  run.runs = {FrameRun{0.017, PlayInput{}, 10}};
  ASSERT_TRUE(hashLevelFile("levels/1.lv", run.levelHash).ok);
  Replay changed = run;
  changed.levelHash ^= 1;
  // The reader's own reasons are the replay file's tests' business; here one shows it reaches
  // the notice.
  const std::tuple<const char*, int, std::string, std::string> rows[] = {
      {"a changed level", 0, encodeReplay(changed), "this replay was recorded on a different version of level 1"},
      {"a truncated file", 0, encodeReplay(run).substr(0, 30),
       "Level 1's best run cannot be read: byte 24: cut short in the elapsed time"},
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
