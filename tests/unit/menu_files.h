#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/music.h"
#include "app/switch.h"
#include "campaign/discovery.h"
#include "campaign/progress.h"
#include "states/menu_model.h"
#include "themes/themes.h"
#include "unit/game_directory.h"

// Level file N holds N pieces of loose garbage in row 0, so the count names the file.
inline std::string levelHolding(int pieces) {
  std::string bytes;
  for (int column = 0; column < pieces; ++column) bytes += std::string("lg") + char(column) + char(0);
  return bytes;
}

// A game directory for the menu: level files 1 .. levelFiles, an empty title scene and final
// screen, and a fresh progress record of `records` levels whose first `crowned` are completed
// with both crowns (three unlock points each).
class MenuFiles : public ::testing::Test {
 protected:
  void prepareFiles(int records, int levelFiles, int crowned = 0) {
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
  }
  // Packs beside a built-in campaign of three levels: "Alpha Pack" in packs/zeta (levels
  // holding 11 and 12 pieces of loose garbage) and "Broken" in packs/beta, whose pack.txt has a
  // bad line and whose first level is missing.
  void preparePackFiles() {
    std::filesystem::remove_all("packs");
    std::filesystem::remove_all("progress");
    writeFile("packs/zeta/pack.txt", "name = Alpha Pack\nlevel 1 = 5.5 Bin Day\nlevel 2 = 7.0\n");
    writeFile("packs/zeta/1.lv", levelHolding(11));
    writeFile("packs/zeta/2.lv", levelHolding(12));
    writeFile("packs/beta/pack.txt", "name = Broken\nlevel 1 = -3 Bad\nlevel 2 = 4 Fine\n");
    writeFile("packs/beta/2.lv", levelHolding(22));
    builtInPack = "name = Binhopper\nlevel 1 = 15.0 First Steps\nlevel 2 = 21.0\nlevel 3 = 13.5\n";
    prepareFiles(3, 3);
  }
  void writeFile(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(directory.path(name)).parent_path());
    writeFileBytes(directory.path(name), bytes);
  }
  void TearDown() override {
    progress() = Progress();
    stopMusic();
  }

  GameDirectory directory;
  std::string builtInPack;  // levels/pack.txt, when the test gives one
};

// The menu's button of that action (and level), or a disabled one with an empty label at the
// origin when the menu shows none.
inline MenuButton buttonOf(MenuModel& menu, MenuAction action, int level = -1) {
  for (const MenuButton& button : menu.buttons()) {
    if (button.action == action && button.level == level) return button;
  }
  return MenuButton{action, level, Box{}, "", false};
}

inline bool shows(MenuModel& menu, MenuAction action) { return !buttonOf(menu, action).label.empty(); }

inline std::string pointsLine(MenuModel& menu) { return menu.texts().back().text; }

// The notice's lines, each ended by a newline; nothing while it is closed.
inline std::string noticeText(const MenuModel& menu) {
  std::string text;
  for (const std::string& line : menu.notice()) text += line + "\n";
  return menu.noticeShown() ? text : "";
}
