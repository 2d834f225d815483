// The README and the man pages tell of everything a player or an author can set or choose:
// every settings key with its default, every option of every installed program, and every
// caption and button of the menu, the Options screen, a level's pause menu and the Help screen.
// The lists come from the code itself: the keys from a saved settings file, the options from the
// programs' sources, the labels from the screens' widgets.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/switch.h"
#include "campaign/discovery.h"
#include "campaign/progress.h"
#include "gui/gui_button.h"
#include "gui/gui_text.h"
#include "states/help_state.h"
#include "states/menu_model.h"
#include "states/options_state.h"
#include "states/pause.h"
#include "states/play_state.h"
#include "themes/themes.h"
#include "unit/game_directory.h"
#include "unit/test_support.h"
#include "world/tag.h"

namespace {

std::string sourceFile(const std::string& relative) {
  return readFileBytes(std::string(BINHOPPER_SOURCE_DIR) + "/" + relative);
}

std::string manPageOf(const std::string& program) { return sourceFile("dist/" + program + ".6"); }

// A man page writes every '-' of an option as "\-".
std::string inManPageForm(const std::string& option) {
  std::string written;
  for (char c : option) written += c == '-' ? std::string("\\-") : std::string(1, c);
  return written;
}

// The text holds the word whole: not as part of a longer option or name.
bool holdsWord(const std::string& text, const std::string& word) {
  const std::string wordCharacters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-";
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    bool freeBefore = at == 0 || wordCharacters.find(text[at - 1]) == std::string::npos;
    size_t end = at + word.size();
    bool freeAfter = end == text.size() || wordCharacters.find(text[end]) == std::string::npos;
    if (freeBefore && freeAfter) return true;
  }
  return false;
}

// The line of a Markdown table that names `key`, or "".
std::string tableRowNaming(const std::string& document, const std::string& key) {
  std::istringstream lines(document);
  for (std::string line; std::getline(lines, line);) {
    if (line.find('|') != std::string::npos && line.find("`" + key + "`") != std::string::npos) return line;
  }
  return "";
}

std::string lastCell(const std::string& row) {
  size_t end = row.find_last_of('|');
  size_t start = end == std::string::npos ? std::string::npos : row.find_last_of('|', end - 1);
  return start == std::string::npos ? "" : row.substr(start + 1, end - start - 1);
}

// Each program with a man page and the sources its options are read in: the game's command
// line, and each tool's own folder.
std::vector<std::pair<std::string, std::vector<std::filesystem::path>>> programSources() {
  const std::filesystem::path root = BINHOPPER_SOURCE_DIR;
  std::vector<std::pair<std::string, std::vector<std::filesystem::path>>> programs;
  std::vector<std::filesystem::path> game;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root / "src")) {
    if (entry.path().extension() != ".cpp") continue;
    if (readFileBytes(entry.path()).find("LaunchOptions parseCommandLine(") != std::string::npos) {
      game.push_back(entry.path());
    }
  }
  programs.push_back({"binhopper", game});
  const std::string executable = "add_executable(";
  for (const auto& tool : std::filesystem::directory_iterator(root / "tools")) {
    const std::string list = readFileBytes(tool.path() / "CMakeLists.txt");
    const size_t at = list.find(executable);
    if (at == std::string::npos) continue;
    const size_t start = at + executable.size();
    const std::string name = list.substr(start, list.find_first_of(" )", start) - start);
    if (!std::filesystem::exists(root / "dist" / (name + ".6"))) continue;
    std::vector<std::filesystem::path> sources;
    for (const auto& file : std::filesystem::directory_iterator(tool.path())) {
      if (file.path().extension() == ".cpp") sources.push_back(file.path());
    }
    programs.push_back({name, sources});
  }
  return programs;
}

bool isOptionCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; }

// Every string literal in the sources that is an option by itself ("--trace", "-fs").
std::set<std::string> optionsIn(const std::vector<std::filesystem::path>& sources) {
  std::set<std::string> options;
  for (const auto& source : sources) {
    const std::string text = readFileBytes(source);
    for (size_t quote = text.find("\"-"); quote != std::string::npos; quote = text.find("\"-", quote + 1)) {
      const size_t start = quote + 1, name = text[start + 1] == '-' ? start + 2 : start + 1;
      size_t end = name;
      while (end < text.size() && isOptionCharacter(text[end])) ++end;
      bool startsWithLetter = name < end && std::isalpha(static_cast<unsigned char>(text[name]));
      if (startsWithLetter && end < text.size() && text[end] == '"') options.insert(text.substr(start, end - start));
    }
  }
  return options;
}

// A label names a control when it has two letters or more and no digit: level numbers, volumes
// and counts are values.
bool namesAControl(const std::string& label) {
  int letters = 0;
  for (char c : label) {
    if (std::isdigit(static_cast<unsigned char>(c))) return false;
    if (std::isalpha(static_cast<unsigned char>(c))) ++letters;
  }
  return letters >= 2;
}

// What a screen's widgets say, once they are in its world.
std::set<std::string> labelsIn(World& world) {
  std::set<std::string> labels;
  for (Entity* entity : world.byTag(tagOf("entt"))) {
    if (auto* button = dynamic_cast<GuiButton*>(entity)) labels.insert(button->label);
    if (auto* text = dynamic_cast<GuiText*>(entity)) labels.insert(text->text);
  }
  return labels;
}

// Each label that names a control must be in README.md and binhopper(6), in double quotes; the
// number of such labels.
int expectEveryControlNamed(const std::set<std::string>& labels) {
  const std::string readme = sourceFile("README.md"), manPage = manPageOf("binhopper");
  int named = 0;
  for (const std::string& label : labels) {
    if (!namesAControl(label)) continue;
    ++named;
    const std::string quoted = "\"" + label + "\"";
    EXPECT_NE(readme.find(quoted), std::string::npos) << "README.md does not name " << quoted;
    EXPECT_NE(manPage.find(quoted), std::string::npos) << "binhopper(6) does not name " << quoted;
  }
  return named;
}

}  // namespace

TEST(Documentation, EverySettingsKeyWithItsDefault) {
  TempDir directory;
  const std::string file = directory.file("binhopper.cfg");
  ASSERT_TRUE(saveSettings(Settings(), file).ok);
  const std::string readme = sourceFile("README.md"), manPage = manPageOf("binhopper");
  std::istringstream lines(readFileBytes(file));
  int keys = 0;
  for (std::string line; std::getline(lines, line); ++keys) {
    const size_t equals = line.find(" = ");
    ASSERT_NE(equals, std::string::npos) << line;
    const std::string key = line.substr(0, equals), value = line.substr(equals + 3);
    SCOPED_TRACE(key);
    const std::string row = tableRowNaming(readme, key);
    EXPECT_NE(row, "") << "README.md's settings table has no row for `" << key << "`";
    // A play key's default is a key code, which only a keyboard driver names.
    const bool namedByDriver = key.rfind("key_", 0) == 0;
    if (!row.empty() && !namedByDriver) {
      EXPECT_TRUE(holdsWord(lastCell(row), value)) << "README.md gives another default than " << value << ": " << row;
    }
    EXPECT_TRUE(holdsWord(manPage, inManPageForm(key))) << "binhopper(6) does not name " << key;
  }
  EXPECT_GE(keys, 10) << "the saved settings file holds too few keys to be the whole list";
}

TEST(Documentation, EveryOptionOfEveryInstalledProgram) {
  const std::string readme = sourceFile("README.md");
  const auto programs = programSources();
  ASSERT_GE(programs.size(), 3u) << "the game and its two level tools";
  size_t found = 0;
  for (const auto& [program, sources] : programs) {
    SCOPED_TRACE(program);
    const std::set<std::string> options = optionsIn(sources);
    found += options.size();
    const std::string manPage = manPageOf(program);
    for (const std::string& option : options) {
      EXPECT_TRUE(holdsWord(readme, option)) << "README.md does not mention " << program << " " << option;
      EXPECT_TRUE(holdsWord(manPage, inManPageForm(option))) << program << "(6) does not mention " << option;
    }
  }
  EXPECT_GE(found, 15u) << "too few options found to be the programs' whole";
}

// Every caption and button the menu and the Options screen show, in double quotes.
TEST(Documentation, EveryCaptionAndButtonOfTheMenus) {
  // The built-in campaign as shipped, so that its button shows its own name.
  GameDirectory directory;
  int levels = 0;
  for (const auto& file : std::filesystem::directory_iterator(std::string(BINHOPPER_SOURCE_DIR) + "/levels")) {
    if (!file.is_regular_file()) continue;
    directory.writeLevel(file.path().filename(), readFileBytes(file.path()));
    if (file.path().stem().string().find_first_not_of("0123456789") == std::string::npos) ++levels;
  }
  progress() = Progress();
  progress().path = directory.path("binhopper.dat");
  progress().load(levels);
  createThemes();
  Controls();
  std::set<std::string> labels;
  {
    MenuModel menu(findCampaigns(gameCampaignPlaces()));
    for (const MenuButton& button : menu.buttons()) labels.insert(button.label);
    for (const MenuText& text : menu.texts()) labels.insert(text.text);
  }
  Settings settings;
  PlayState scene(PlayedLevel{}, std::make_unique<World>(), *themes[0]);
  OptionsState options(settings, scene);
  for (const std::string& label : labelsIn(*options.world)) labels.insert(label);
  progress() = Progress();
  EXPECT_GE(expectEveryControlNamed(labels), 10) << "too few labels found to be the menus' whole";
}

// Every button of the pause menu in each kind of play, with and without the Options screen and
// the hint's way through, and of the Help screen it opens.
TEST(Documentation, EveryButtonOfThePauseMenuAndTheHelpScreen) {
  initAllegroForTests();  // the play state behind the Help screen opens an event queue
  createThemes();
  Controls();
  std::set<std::string> labels;
  for (PausedPlay play : {PausedPlay::Level, PausedPlay::TestPlay, PausedPlay::Replay}) {
    for (bool offered : {false, true}) {
      Pause pause;
      pause.open(pauseEntries(play, offered, offered));
      for (const GuiButton* button : pause.buttons()) labels.insert(button->label);
    }
  }
  PlayState scene(PlayedLevel{}, std::make_unique<World>(), *themes[0]);
  HelpState help(scene);
  for (const std::string& label : labelsIn(*help.world)) labels.insert(label);
  EXPECT_GE(expectEveryControlNamed(labels), 8) << "too few labels found to be the pause menu's and Help's whole";
}
