#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(CommandLine, OnlyTheFirstArgumentCountsAndExactly) {
  // The arguments after the program name, and what they ask for.
  const std::tuple<const char*, std::vector<const char*>, bool, bool> rows[] = {
      {"none", {}, false, false},
      {"-fs", {"-fs"}, true, false},
      {"-editor", {"-editor"}, false, true},
      {"-FS: case matters", {"-FS"}, false, false},
      {"-Editor: case matters", {"-Editor"}, false, false},
      {"-fs -editor: the second is never looked at", {"-fs", "-editor"}, true, false},
      {"-editor -fs", {"-editor", "-fs"}, false, true},
      {"something else, then -fs", {"-x", "-fs"}, false, false},
      {"-fsx: no prefix match", {"-fsx"}, false, false},
      {"empty argument", {""}, false, false},
  };
  for (const auto& [label, arguments, fullScreen, editor] : rows) {
    std::vector<const char*> argv = {"binhopper"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);
    LaunchOptions options = parseCommandLine(argc, argv.data());
    EXPECT_EQ(options.fullScreen, fullScreen) << label;
    EXPECT_EQ(options.editor, editor) << label;
  }
}

TEST(CommandLine, NoArgumentVectorAtAllIsWindowedTitle) {
  const char* argv[] = {nullptr};
  LaunchOptions options = parseCommandLine(0, argv);
  EXPECT_FALSE(options.fullScreen);
  EXPECT_FALSE(options.editor);
}

TEST(CommandLine, TheEditorTakesTheFileToEdit) {
  const std::tuple<const char*, std::vector<const char*>, bool, std::string> rows[] = {
      {"-editor alone", {"-editor"}, true, ""},
      {"-editor FILE", {"-editor", "my.lv"}, true, "my.lv"},
      {"--editor FILE", {"--editor", "levels/3.lv"}, true, "levels/3.lv"},
      {"an option is no file", {"-editor", "-fs"}, true, ""},
      {"the title takes no file", {"-fs", "my.lv"}, false, ""},
  };
  for (const auto& [label, arguments, editor, file] : rows) {
    std::vector<const char*> argv = {"binhopper"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    LaunchOptions options = parseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(options.editor, editor) << label;
    EXPECT_EQ(options.editorFile, file) << label;
  }
}

}  // namespace
