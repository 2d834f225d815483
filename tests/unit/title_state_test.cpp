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
#include "entities/avatar.h"
#include "gui/level_button.h"
#include "pack_tools/pack_install.h"
#include "replay/replay_file.h"
#include "unit/menu_files.h"

using namespace std::string_literals;

namespace {

// What a nested play was: its kind, its level index, the loose garbage of the file it loaded
// (level file N holds N pieces, so the count names the file) and the theme it was drawn in.
struct Played {
  PlayKind kind;
  int levelIndex;
  int looseCount;
  std::string theme;
};

// A title state whose nested plays are real play states, made as the menu makes them, that run
// no loop: each is recorded and, when the test says so, stepped, then ends with the result the
// test's function gives.
class ScriptedTitle : public TitleState {
 public:
  std::function<PlayResult(PlayState&)> play = [](PlayState&) { return PlayResult::Menu; };
  std::vector<Played> played;
  int optionsShown = 0;
  int helpShown = 0;
  int editorsRun = 0;
  int campaignsAsked = 0;
  std::optional<std::string> campaignChosen;  // at the file dialog of "Add a campaign…"

  ScriptedTitle() {
    runEditor = [this](AppState&) { ++editorsRun; };
  }

 protected:
  std::optional<std::string> chooseCampaign() override {
    ++campaignsAsked;
    return campaignChosen;
  }
  void showOptions(AppState&, OptionsState&) override { ++optionsShown; }
  void showHelp(HelpState&) override { ++helpShown; }
  PlayResult playNested(PlayState& nested) override {
    PlaySession& session = nested.session();
    played.push_back({session.played().kind, session.played().index(), session.context().grid->looseCount,
                      session.context().theme->name()});
    return play(nested);
  }
};

// A title state of the menu's files that is the current state, driven one frame at a time.
class TitleTest : public MenuFiles {
 protected:
  void prepare(int records, int levelFiles, int crowned = 0) {
    TearDown();
    prepareFiles(records, levelFiles, crowned);
    start();
  }
  void start() {
    title = std::make_unique<ScriptedTitle>();
    setCurrentState(title.get());
    frame(0, 0, false);  // the widgets enter the world at the first update
  }
  void TearDown() override {
    title.reset();
    setCurrentState(nullptr);
    MenuFiles::TearDown();
  }

  void frame(int x, int y, bool buttonDown) {
    setMousePosition(title->mouse, x, y);
    setMouseButton(title->mouse, 1, buttonDown);
    refreshRootSwitches();
    title->update(0.017);
  }
  // Moves onto the menu's button, presses and releases it.
  void click(MenuAction action, int level = -1) {
    const Box place = buttonOf(title->menu(), action, level).place;
    int x = static_cast<int>((place.left + place.right) / 2);
    int y = static_cast<int>((place.top + place.bottom) / 2);
    frame(x, y, false);
    frame(x, y, true);
    frame(x, y, false);
  }
  void tap(int key) {
    for (bool down : {true, false}) {
      title->keyboard = ALLEGRO_KEYBOARD_STATE{};
      setKeyDown(title->keyboard, key, down);
      frame(0, 0, false);
    }
  }
  std::vector<std::pair<int, int>> levelsPlayed() const {
    std::vector<std::pair<int, int>> levels;
    for (const Played& played : title->played) levels.emplace_back(played.levelIndex, played.looseCount);
    return levels;
  }

  std::unique_ptr<ScriptedTitle> title;
};

// The menu's plays take the player's assists (the game speed paces the level's clock, the
// invincibility spares its avatar, the menu's scene keeps its pace), and the deaths in a level
// are counted across its retries for the hint.
TEST_F(TitleTest, PlaysTakeTheAssistsAndTheHintCountsDeaths) {
  prepare(5, 5);
  title->menu().settings().assists = Assists{60, true, true};
  title->play = [&](PlayState& nested) {
    EXPECT_DOUBLE_EQ(nested.clock->speed(), 0.6);
    EXPECT_TRUE(nested.session().context().invincible);
    World& world = nested.session().world();
    Avatar& avatar = world.add<Avatar>();
    world.flush();
    avatar.die("tripped");
    return title->menu().deathsIn(1) < 2 ? PlayResult::Retry : PlayResult::Menu;
  };
  click(MenuAction::PlayLevel, 1);
  EXPECT_EQ(title->played.size(), 3u);
  EXPECT_EQ(title->menu().deathsIn(1), 3);
  EXPECT_EQ(title->menu().deathsIn(0), 0);
  EXPECT_DOUBLE_EQ(title->scene().clock->speed(), 1.0);
  EXPECT_FALSE(title->scene().session().context().invincible);
}

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
    click(MenuAction::PlayLevel, clicked);
    EXPECT_EQ(levelsPlayed(), expected);
    EXPECT_EQ(title->status, RunStatus::Running) << "the menu is back";
  }
  prepare(5, 5);
  for (int i = 0; i < 2; ++i) progress().recordCompletion(i, false, 20.0);
  click(MenuAction::PlayLevel, 4);
  EXPECT_EQ(levelsPlayed(), (std::vector<std::pair<int, int>>{{4, 5}})) << "a level unlocked while the menu is open";
}

// The theme chosen is the menu's scene's and every level's played from the menu; the final
// screen shows the first theme, but the player's choice stays the menu's.
TEST_F(TitleTest, TheChosenThemeSurvivesTheFinalScreen) {
  prepare(10, 10, 10);
  title->play = [](PlayState& nested) {
    for (int i = 0; i < 3; ++i) nested.update(0.017);
    return PlayResult::Menu;
  };
  click(MenuAction::Theme);
  EXPECT_EQ(title->scene().session().context().theme->name(), std::string("Sunset")) << "the menu's scene";
  click(MenuAction::FinalScreen);
  ASSERT_EQ(title->played.size(), 1u);
  EXPECT_EQ(title->played[0].kind, PlayKind::FinalScreen);
  EXPECT_EQ(title->played[0].theme, "Sky");
  frame(0, 0, false);
  EXPECT_EQ(title->menu().theme().name(), std::string("Sunset"));
  EXPECT_EQ(title->scene().session().context().theme->name(), std::string("Sunset"));
  click(MenuAction::PlayLevel, 0);
  ASSERT_EQ(title->played.size(), 2u);
  EXPECT_EQ(title->played[1].theme, "Sunset") << "a level played from the menu";
}

// Keys pressed one after another (each held for a frame, then let go), and then the button the
// focus mark is on and what was pressed. Five of sixteen levels are open. Tokens: L R U D the
// arrows, E Enter, Z, Q Escape, M a mouse move, S the gamepad's Start (its sticks press the keys
// above, which is the gamepad tests' business).
TEST_F(TitleTest, MenuFocusFromKeysAndGamepad) {
  const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
      {"nothing pressed, nothing shown", "", "none", ""},
      {"along the first row", "RRRRR", "level 5", ""},
      {"from the grid's row to the column on its right", "RRRRRR", "theme", ""},
      {"down the column", "RRRRRRD", "music", ""},
      {"down to Campaign", "RRRRRRDD", "campaign", ""},
      {"down to Add a campaign", "RRRRRRDDD", "add", ""},
      {"down to Options", "RRRRRRDDDD", "options", ""},
      {"down to the Editor", "RRRRRRDDDDD", "editor", ""},
      {"nothing further down", "RRRRRRDDDDDD", "editor", ""},
      {"Options left to Quit", "RRRRRRDDDDL", "quit", ""},
      {"the column back to the grid", "RRRRRRL", "level 5", ""},
      {"down onto a locked level, which says why", "RD", "level 6", ""},
      {"a locked level does not play", "RDE", "level 6", ""},
      {"down the grid to Help", "RDDDD", "help", ""},
      {"Help right to Quit", "RDDDDR", "quit", ""},
      {"pressing Help", "RDDDDE", "help", "help"},
      {"Enter presses", "EE", "level 1", "play 0"},
      {"Z presses", "RRZ", "level 2", "play 1"},
      {"pressing the theme", "RRRRRRE", "theme", "theme Locked (4 more)"},
      {"pressing Options", "RRRRRRDDDDE", "options", "options"},
      {"pressing the Editor", "RRRRRRDDDDDE", "editor", "editor"},
      {"pressing Add a campaign", "RRRRRRDDDE", "add", "add a campaign"},
      {"pressing Quit", "RRRRRRDDDDLE", "quit", "quit"},
      {"a mouse move hides it", "RRM", "none", ""},
      {"and the next arrow shows it where it was", "RRMR", "level 2", ""},
      {"Escape still quits", "RQ", "level 1", "quit"},
      {"the gamepad's Start opens the options", "S", "none", "options"},
  };
  const std::map<char, int> keyCodes = {{'L', ALLEGRO_KEY_LEFT},  {'R', ALLEGRO_KEY_RIGHT}, {'U', ALLEGRO_KEY_UP},
                                        {'D', ALLEGRO_KEY_DOWN},  {'E', ALLEGRO_KEY_ENTER}, {'Z', ALLEGRO_KEY_Z},
                                        {'Q', ALLEGRO_KEY_ESCAPE}};
  const std::map<MenuAction, std::string> names = {{MenuAction::Theme, "theme"},       {MenuAction::Music, "music"},
                                                   {MenuAction::Campaign, "campaign"}, {MenuAction::AddCampaign, "add"},
                                                   {MenuAction::Options, "options"},   {MenuAction::Editor, "editor"},
                                                   {MenuAction::Help, "help"},         {MenuAction::Quit, "quit"}};
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
    std::optional<MenuButton> mark = title->focused();
    std::string at = !mark                                   ? "none"
                     : mark->action == MenuAction::PlayLevel ? "level " + std::to_string(mark->level + 1)
                                                             : names.at(mark->action);
    EXPECT_EQ(at, focused);
    std::string happened;
    for (const Played& play : title->played) happened += "play " + std::to_string(play.levelIndex);
    std::string theme = buttonOf(title->menu(), MenuAction::Theme).label;
    if (theme != "Sky") happened += "theme " + theme;
    if (title->optionsShown) happened += "options";
    if (title->helpShown) happened += "help";
    if (title->editorsRun) happened += "editor";
    if (title->campaignsAsked) happened += "add a campaign";
    if (title->status == RunStatus::Done) happened += "quit";
    EXPECT_EQ(happened, pressed);
  }
}

// A pack's levels play from its own files, one after another, and their completions go to its
// own record; the built-in record and file are left to start-up.
TEST_F(TitleTest, APacksLevelsPlayIntoItsRecord) {
  preparePackFiles();
  start();
  click(MenuAction::Campaign);
  std::vector<PlayedLevel> levels;
  title->play = [&](PlayState& nested) {
    const PlayedLevel& played = nested.session().played();
    levels.push_back(played);
    played.record->recordCompletion(played.index(), true, 6.0);
    return PlayResult::Next;
  };
  click(MenuAction::PlayLevel, 0);
  ASSERT_EQ(levels.size(), 3u);
  EXPECT_EQ(levels[2].kind, PlayKind::FinalScreen) << "Space after the last level, every one completed";
  EXPECT_TRUE(levels[1].last && !levels[0].last);
  levels.pop_back();
  title->played.pop_back();
  EXPECT_EQ(levelsPlayed(), (std::vector<std::pair<int, int>>{{0, 11}, {1, 12}})) << "the pack's own level files";
  EXPECT_EQ(std::make_tuple(levels[1].campaign, levels[1].number, levels[1].name), std::make_tuple("zeta"s, 2, ""s));
  EXPECT_EQ(pointsLine(title->menu()), "Unlock points: 5/6") << "silver under 7.0 s only: the pack's targets";
  EXPECT_EQ(progress().completedCount(), 0u) << "the built-in record is untouched";
  click(MenuAction::Campaign);
  title->played.clear();
  title->play = [](PlayState&) { return PlayResult::Menu; };
  click(MenuAction::PlayLevel, 0);
  EXPECT_TRUE(title->played.empty()) << "the broken pack's missing level does not play";
  EXPECT_NE(noticeText(title->menu()).find("1.lv"), std::string::npos) << noticeText(title->menu());
  EXPECT_FALSE(std::filesystem::exists(directory.path("binhopper.dat"))) << "the menu leaves it to start-up";
}

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
    ASSERT_TRUE(title->menu().noticeShown());
    ASSERT_FALSE(title->menu().notice().empty());
    EXPECT_EQ(title->menu().notice().front(), message);
    EXPECT_EQ(title->status, RunStatus::Running);
    frame(0, 0, true);
    frame(0, 0, false);
    EXPECT_FALSE(title->menu().noticeShown()) << "a click closes it";
  }
  EXPECT_TRUE(title->played.empty());
}

// "Add a campaign…": a folder chosen by its pack.txt is installed as --install-pack installs it,
// in its words, and chosen; adding it again asks before the installed one is replaced (N keeps
// it, Y replaces it). The campaign's information shows under the mouse, never under a notice.
TEST_F(TitleTest, ACampaignAddedFromTheMenu) {
  preparePackFiles();
  start();
  // Here the shipped packs and the player's share a folder, and the installer never replaces a
  // shipped pack: it is told of no shipped packs.
  title->installCampaign = [](const std::string& source, bool replace) {
    return installForMenu(source, CampaignPlaces{"levels", "shipped", playerFile("packs")}, replace);
  };
  const std::string level = "av\x05\x1c"s + "ct\x0a\x1c\x00"s;  // won at once
  writeFile("incoming/fresh/pack.txt", "name = Fresh\nlevel 1 = 5.0\n");
  writeFile("incoming/fresh/1.lv", level);
  const std::string source = directory.path("incoming/fresh");
  title->campaignChosen = source + "/pack.txt";
  click(MenuAction::AddCampaign);
  EXPECT_EQ(buttonOf(title->menu(), MenuAction::Campaign).label, "Fresh");
  ASSERT_TRUE(title->menu().noticeShown());
  EXPECT_EQ(title->menu().notice().back().rfind("installed " + source + " in ", 0), 0u)
      << title->menu().notice().back();
  EXPECT_FALSE(title->showsCampaignInformation()) << "under the notice";

  writeFile("incoming/fresh/pack.txt", "name = Fresher\nlevel 1 = 5.0\n");
  const std::tuple<const char*, std::function<void()>, const char*> answers[] = {
      {"N keeps the installed pack", [&] { tap(ALLEGRO_KEY_N); }, "Fresh"},
      {"a click keeps it too, and presses no button", [&] { click(MenuAction::Quit); }, "Fresh"},
      {"Y replaces it", [&] { tap(ALLEGRO_KEY_Y); }, "Fresher"},
  };
  for (const auto& [label, answer, campaign] : answers) {
    SCOPED_TRACE(label);
    frame(0, 0, true);  // the notice closes
    frame(0, 0, false);
    click(MenuAction::AddCampaign);
    ASSERT_TRUE(title->menu().replacementAsked()) << title->menu().notice().back();
    answer();
    frame(0, 0, false);
    EXPECT_FALSE(title->menu().replacementAsked());
    EXPECT_EQ(title->status, RunStatus::Running);
    EXPECT_EQ(buttonOf(title->menu(), MenuAction::Campaign).label, campaign) << title->menu().notice().back();
  }
  frame(0, 0, true);
  frame(0, 0, false);
  const Box place = buttonOf(title->menu(), MenuAction::Campaign).place;
  frame(static_cast<int>(place.left) + 5, static_cast<int>(place.top) + 5, false);
  EXPECT_TRUE(title->showsCampaignInformation());
  EXPECT_EQ(title->menu().campaignSummaryLines(),
            (std::vector<std::string>{"Fresher", "1 level", "None proven by its author's run yet"}));
}

}  // namespace

// A locked level names the open levels whose completion opens it: completing k levels opens
// the first k + 3.
TEST(LevelButton, ALockedLevelSaysWhichLevelsToCompleteFirst) {
  // Levels completed (by index), the locked level asked about, and what it says.
  const std::tuple<const char*, std::vector<int>, int, const char*> rows[] = {
      {"fresh: the fourth needs one", {}, 3, "Locked: complete level 1 first"},
      {"fresh: the sixth needs three", {}, 5, "Locked: complete levels 1, 2 and 3 first"},
      {"fresh: the eighth needs more than are open", {}, 7, "Locked: complete 5 more levels first"},
      {"the first two done: the sixth needs the third", {0, 1}, 5, "Locked: complete level 3 first"},
      {"one skipped: the lowest open ones", {1}, 5, "Locked: complete levels 1 and 3 first"},
  };
  for (const auto& [label, completed, levelIndex, note] : rows) {
    Progress record;
    record.ensureRecords(10);
    for (int index : completed) record.recordCompletion(index, false, 10.0);
    ASSERT_FALSE(record.records[levelIndex].unlocked) << label;
    EXPECT_EQ(lockNote(record, levelIndex), note) << label;
  }
}
