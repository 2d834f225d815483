// Running as an installed desktop program: where data and player files are, the settings
// file, and fitting the 800 x 600 picture to any window.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>
#include <vector>

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
  const std::string cwd = root.file("cwd"), empty = root.file("empty"), installed = root.file("installed");
  const std::string homeData = home + "/.local/share/binhopper";
  // Label; $BINHOPPER_DATA, $XDG_DATA_HOME, working directory, installed data; then the data
  // and player directories chosen.
  const std::tuple<const char*, const char*, const char*, std::string, std::string, std::string, std::string> rows[] = {
      {"the working directory first", nullptr, nullptr, cwd, installed, cwd, cwd},
      {"installed data when the working directory has none", nullptr, nullptr, empty, installed, installed, homeData},
      {"XDG_DATA_HOME for player files", nullptr, xdg.c_str(), empty, installed, installed, xdg + "/binhopper"},
      {"a relative XDG_DATA_HOME is ignored", nullptr, "rel", empty, installed, installed, homeData},
      {"BINHOPPER_DATA before everything", custom.c_str(), nullptr, cwd, installed, custom, homeData},
      {"BINHOPPER_DATA relative to the working directory", "../custom/", nullptr, cwd, installed, custom, homeData},
      {"BINHOPPER_DATA naming the working directory", ".", nullptr, cwd, installed, cwd, cwd},
      {"nothing anywhere: the working directory, as before", nullptr, nullptr, empty, root.file("missing"), empty,
       empty},
  };
  for (const auto& [label, dataVariable, xdgDataHome, working, installedData, data, player] : rows) {
    DataSearch search;
    search.dataVariable = dataVariable;
    search.xdgDataHome = xdgDataHome;
    search.home = home.c_str();
    search.workingDirectory = working;
    search.installedData = installedData;
    DataDirs dirs = chooseDataDirs(search);
    EXPECT_EQ(dirs.data, data) << label;
    EXPECT_EQ(dirs.player, player) << label;
    EXPECT_EQ(dirs.fromWorkingDirectory, player == working) << label;
  }
}

// The text's syntax; the newer keys' values and every choice's round trip through the file
// are the options tests' business.
TEST(Settings, TextTable) {
  // Label; the text; whether it is accepted; then music, theme, full screen and vertical sync.
  const std::tuple<const char*, const char*, bool, bool, const char*, bool, bool> rows[] = {
      {"empty: defaults", "", true, true, "Sky", false, false},
      {"spaces, tabs, CRLF, comments", "# mine\r\n\tmusic=yes \r\n\ntheme =  Sunset\r\n", true, true, "Sunset", false,
       false},
      {"an unknown key is kept, and named", "volume = 11\nmusic = no\n", false, false, "Sky", false, false},
      {"a byte-order mark before the first key", "\xEF\xBB\xBFmusic = no\nvsync = yes\n", true, false, "Sky", false,
       true},
      {"the last of a repeated key", "vsync = yes\nwindow = fullscreen\nvsync = no\n", true, true, "Sky", true, false},
      {"no equals sign", "music no\n", false, true, "Sky", false, false},
      {"empty key", "= yes\n", false, true, "Sky", false, false},
      {"empty theme", "theme =\n", false, true, "Sky", false, false},
      {"a vsync neither yes nor no", "vsync = 1\n", false, true, "Sky", false, false},
  };
  for (const auto& [label, text, accepted, music, theme, fullScreen, vsync] : rows) {
    Settings settings;
    EXPECT_EQ(parseSettings(text, settings).empty(), accepted) << label;
    EXPECT_EQ(settings.music, music) << label;
    EXPECT_EQ(settings.theme, theme) << label;
    EXPECT_EQ(settings.fullScreen, fullScreen) << label;
    EXPECT_EQ(settings.vsync, vsync) << label;
  }
}

TEST(Settings, FileIsReplacedWholeAndABadOneTold) {
  TempDir directory;
  const std::string path = directory.file("binhopper.cfg");
  ASSERT_TRUE(saveSettings(Settings(), path).ok);
  EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 2)
      << "the file and its lock file, no temporary file";

  // Nothing the player wrote is lost by a save: lines the game does not take are named once
  // and written back as they were, after the game's own.
  writeFileBytes(path, "\xEF\xBB\xBFmusic = no\n\x01garbage\n# mine\ncolour = teal\nvsync = maybe\n");
  testing::internal::CaptureStdout();
  Settings read = loadSettings(path);
  const std::string named = "Settings file '" + path + "': line ";
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            named + "2 ('?garbage') is not a 'key = value'; it stays in the file.\n" + named +
                "4 ('colour = teal') is no setting of this game; it stays in the file.\n" + named +
                "5 ('vsync = maybe') gives vsync a value it cannot take; the default is used, and the line stays in "
                "the file.\n");
  EXPECT_FALSE(read.music) << "the first line, after the byte-order mark, is read";
  read.timer = true;
  ASSERT_TRUE(saveSettings(read, path).ok);
  const std::string saved = readFileBytes(path);
  const std::string kept = "\x01garbage\n# mine\ncolour = teal\nvsync = maybe\n";
  ASSERT_GT(saved.size(), kept.size());
  EXPECT_EQ(saved.substr(saved.size() - kept.size()), kept);
  EXPECT_NE(saved.find("music = no\n"), std::string::npos);
  EXPECT_NE(saved.find("timer = yes\n"), std::string::npos);
  testing::internal::CaptureStdout();
  Settings again = loadSettings(path);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(again.keptLines, read.keptLines) << "kept once, not once more at every save";

  EXPECT_FALSE(saveSettings(Settings(), directory.file("no/such/dir/binhopper.cfg")).ok);
}

TEST(DisplayScale, FitAndMouseMapping) {
  constexpr Scaling kSmooth = Scaling::Smooth, kWhole = Scaling::WholePixels;
  // Scaling and window size; scale, left and top of the picture; a window point and the
  // picture point it maps to. Whole pixels take the largest whole scale that fits, letterboxed
  // on every side, and shrink smoothly only into a window smaller than the picture.
  const std::tuple<Scaling, int, int, double, double, double, int, int, int, int> rows[] = {
      {kSmooth, 800, 600, 1.0, 0, 0, 70, 345, 70, 345},
      {kSmooth, 1600, 1200, 2.0, 0, 0, 140, 690, 70, 345},
      {kSmooth, 1000, 750, 1.25, 0, 0, 87, 431, 69, 344},
      {kSmooth, 1920, 1080, 1.8, 240, 0, 240 + 126, 621, 70, 345},
      {kSmooth, 800, 1000, 1.0, 0, 200, 10, 199, 10, -1},
      {kSmooth, 400, 300, 0.5, 0, 0, 399, 299, 798, 598},
      {kSmooth, 0, 0, 1.0, 0, 0, 5, 5, 5, 5},
      {kWhole, 1000, 750, 1.0, 100, 75, 170, 420, 70, 345},
      {kWhole, 1920, 1080, 1.0, 560, 240, 560 + 799, 240 + 599, 799, 599},
      {kWhole, 2560, 1440, 2.0, 480, 120, 480 + 141, 120 + 691, 70, 345},
      {kWhole, 1599, 1200, 1.0, 399, 300, 398, 299, -1, -1},
      {kWhole, 3840, 2160, 3.0, 720, 180, 720 + 3 * 400, 180 + 3 * 300 + 2, 400, 300},
      {kWhole, 400, 300, 0.5, 0, 0, 399, 299, 798, 598},
  };
  for (const auto& [scaling, width, height, scale, left, top, windowX, windowY, pictureX, pictureY] : rows) {
    PictureFit fit = fitPicture(width, height, scaling);
    int x = windowX, y = windowY;
    windowToPicture(fit, x, y);
    EXPECT_EQ(std::vector<double>({fit.scale, fit.left, fit.top, double(x), double(y)}),
              std::vector<double>({scale, left, top, double(pictureX), double(pictureY)}))
        << (scaling == kWhole ? "whole pixels " : "smooth ") << width << "x" << height;
  }
}

}  // namespace
