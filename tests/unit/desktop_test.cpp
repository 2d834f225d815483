// Running as an installed desktop program: where data and player files are, the settings
// file, and fitting the 800 x 600 picture to any window.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "app/data_dirs.h"
#include "app/display_scale.h"
#include "app/settings.h"
#include "unit/test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(DataDirs, SearchOrderAndPlayerDirectory) {
  TempDir root;
  for (const char* game : {"cwd", "installed", "custom"}) {
    fs::create_directories(root.file(game) + "/media");
    fs::create_directories(root.file(game) + "/levels");
  }
  fs::create_directories(root.file("empty"));
  const std::string home = root.file("home"), xdg = root.file("xdg"), custom = root.file("custom");
  // Label; $BINHOPPER_DATA, $XDG_DATA_HOME, working directory, installed data; then the data
  // and player directories chosen.
  const std::tuple<const char*, const char*, const char*, std::string, std::string, std::string, std::string> rows[] = {
      {"the working directory first", nullptr, nullptr, root.file("cwd"), root.file("installed"), root.file("cwd"),
       root.file("cwd")},
      {"installed data when the working directory has none", nullptr, nullptr, root.file("empty"),
       root.file("installed"), root.file("installed"), home + "/.local/share/binhopper"},
      {"XDG_DATA_HOME for player files", nullptr, xdg.c_str(), root.file("empty"), root.file("installed"),
       root.file("installed"), xdg + "/binhopper"},
      {"a relative XDG_DATA_HOME is ignored", nullptr, "rel", root.file("empty"), root.file("installed"),
       root.file("installed"), home + "/.local/share/binhopper"},
      {"BINHOPPER_DATA before everything", custom.c_str(), nullptr, root.file("cwd"), root.file("installed"),
       root.file("custom"), home + "/.local/share/binhopper"},
      {"BINHOPPER_DATA relative to the working directory", "../custom/", nullptr, root.file("cwd"),
       root.file("installed"), root.file("custom"), home + "/.local/share/binhopper"},
      {"BINHOPPER_DATA naming the working directory", ".", nullptr, root.file("cwd"), root.file("installed"),
       root.file("cwd"), root.file("cwd")},
      {"nothing anywhere: the working directory, as before", nullptr, nullptr, root.file("empty"), root.file("missing"),
       root.file("empty"), root.file("empty")},
  };
  for (const auto& [label, dataVariable, xdgDataHome, working, installed, data, player] : rows) {
    DataSearch search;
    search.dataVariable = dataVariable;
    search.xdgDataHome = xdgDataHome;
    search.home = home.c_str();
    search.workingDirectory = working;
    search.installedData = installed;
    DataDirs dirs = chooseDataDirs(search);
    EXPECT_EQ(dirs.data, data) << label;
    EXPECT_EQ(dirs.player, player) << label;
    EXPECT_EQ(dirs.fromWorkingDirectory, player == working) << label;
  }
}

TEST(Settings, TextTable) {
  // Label; the text; whether it is accepted; then music, theme and full screen read from it.
  const std::tuple<const char*, const char*, bool, bool, const char*, bool> rows[] = {
      {"empty: defaults", "", true, true, "Sky", false},
      {"all keys", "music = no\ntheme = Night\nwindow = fullscreen\n", true, false, "Night", true},
      {"spaces, tabs, CRLF, comments", "# mine\r\n\tmusic=yes \r\n\ntheme =  Sunset\r\n", true, true, "Sunset", false},
      {"unknown keys ignored", "volume = 11\nmusic = no\n", true, false, "Sky", false},
      {"no equals sign", "music no\n", false, true, "Sky", false},
      {"empty key", "= yes\n", false, true, "Sky", false},
      {"bad value: its default, the rest kept", "music = no\nwindow = huge\n", false, false, "Sky", false},
      {"empty theme", "theme =\n", false, true, "Sky", false},
  };
  for (const auto& [label, text, accepted, music, theme, fullScreen] : rows) {
    Settings settings;
    std::string problem;
    EXPECT_EQ(parseSettings(text, settings, problem), accepted) << label;
    EXPECT_EQ(problem.empty(), accepted) << label;
    EXPECT_EQ(settings.music, music) << label;
    EXPECT_EQ(settings.theme, theme) << label;
    EXPECT_EQ(settings.fullScreen, fullScreen) << label;
  }
}

// Vertical sync came later than the other keys: a file from before it loads as it did, with
// vertical sync off, and a chosen one is written out and read back.
TEST(Settings, VerticalSync) {
  const std::tuple<const char*, const char*, bool, bool> rows[] = {
      {"a file from before it", "music = no\ntheme = Night\nwindow = fullscreen\n", true, false},
      {"on", "vsync = yes\n", true, true},
      {"off", "vsync = yes\nvsync = no\n", true, false},
      {"neither yes nor no", "vsync = 1\n", false, false},
  };
  for (const auto& [label, text, accepted, vsync] : rows) {
    Settings settings;
    std::string problem;
    EXPECT_EQ(parseSettings(text, settings, problem), accepted) << label;
    EXPECT_EQ(settings.vsync, vsync) << label;
  }
  Settings chosen, read;
  chosen.vsync = true;
  std::string problem;
  ASSERT_TRUE(parseSettings(formatSettings(chosen), read, problem)) << problem;
  EXPECT_TRUE(read.vsync);
}

// The timer is off and the ghost on unless the file says otherwise; both are written back.
TEST(Settings, TimerAndGhost) {
  const std::tuple<const char*, const char*, bool, bool, bool> rows[] = {
      {"a file from before them", "music = no\nvsync = yes\n", true, false, true},
      {"timer on, ghost off", "timer = yes\nghost = no\n", true, true, false},
      {"timer off, ghost on", "timer = no\nghost = yes\n", true, false, true},
      {"a timer neither yes nor no", "timer = on\n", false, false, true},
      {"a ghost neither yes nor no", "ghost = 0\n", false, false, true},
  };
  for (const auto& [label, text, accepted, timer, ghost] : rows) {
    Settings settings;
    std::string problem;
    EXPECT_EQ(parseSettings(text, settings, problem), accepted) << label;
    EXPECT_EQ(settings.timer, timer) << label;
    EXPECT_EQ(settings.ghost, ghost) << label;
  }
  Settings chosen, read;
  chosen.timer = true;
  chosen.ghost = false;
  std::string problem;
  ASSERT_TRUE(parseSettings(formatSettings(chosen), read, problem)) << problem;
  EXPECT_TRUE(read.timer);
  EXPECT_FALSE(read.ghost);
}

TEST(Settings, FileRoundTripAndBadFile) {
  TempDir directory;
  const std::string path = directory.file("binhopper.cfg");
  Settings chosen;
  chosen.music = false;
  chosen.theme = "Crooked";
  chosen.fullScreen = true;
  ASSERT_TRUE(saveSettings(chosen, path).ok);
  Settings read = loadSettings(path);
  EXPECT_EQ(read.music, false);
  EXPECT_EQ(read.theme, "Crooked");
  EXPECT_EQ(read.fullScreen, true);
  EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 2)
      << "the file and its lock file, no temporary file";

  writeFileBytes(path, "music = no\n\x01garbage\n");
  testing::internal::CaptureStdout();
  read = loadSettings(path);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Settings file '" + path + "': line 2 is not a valid 'key = value'; the default is used there.\n");
  EXPECT_FALSE(read.music) << "the good line is kept";

  EXPECT_FALSE(saveSettings(chosen, directory.file("no/such/dir/binhopper.cfg")).ok);
}

TEST(DisplayScale, FitAndMouseMapping) {
  // Window size; scale, left and top of the picture; a window point and the picture point it
  // maps to.
  const std::tuple<int, int, double, double, double, int, int, int, int> rows[] = {
      {800, 600, 1.0, 0, 0, 70, 345, 70, 345},
      {1600, 1200, 2.0, 0, 0, 140, 690, 70, 345},
      {1000, 750, 1.25, 0, 0, 87, 431, 69, 344},
      {1920, 1080, 1.8, 240, 0, 240 + 126, 621, 70, 345},
      {800, 1000, 1.0, 0, 200, 10, 199, 10, -1},
      {400, 300, 0.5, 0, 0, 399, 299, 798, 598},
      {0, 0, 1.0, 0, 0, 5, 5, 5, 5},
  };
  for (const auto& [width, height, scale, left, top, windowX, windowY, pictureX, pictureY] : rows) {
    PictureFit fit = fitPicture(width, height);
    EXPECT_DOUBLE_EQ(fit.scale, scale) << width << "x" << height;
    EXPECT_DOUBLE_EQ(fit.left, left) << width << "x" << height;
    EXPECT_DOUBLE_EQ(fit.top, top) << width << "x" << height;
    int x = windowX, y = windowY;
    windowToPicture(fit, x, y);
    EXPECT_EQ(x, pictureX) << width << "x" << height;
    EXPECT_EQ(y, pictureY) << width << "x" << height;
  }
}

}  // namespace
