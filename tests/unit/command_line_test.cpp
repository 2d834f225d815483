#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Action = LaunchOptions::Action;

LaunchOptions parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "binhopper");
  int argc = static_cast<int>(arguments.size());
  arguments.push_back(nullptr);
  return parseCommandLine(argc, arguments.data());
}

TEST(CommandLine, OptionsTable) {
  // Arguments after the program name; then action, full screen, editor, editor file.
  const std::tuple<std::vector<const char*>, Action, bool, bool, const char*> rows[] = {
      {{}, Action::Play, false, false, ""},
      {{"-fs"}, Action::Play, true, false, ""},
      {{"--fullscreen"}, Action::Play, true, false, ""},
      {{"-editor"}, Action::Play, false, true, ""},
      {{"--editor", "mine.lv"}, Action::Play, false, true, "mine.lv"},
      {{"-editor", "-fs"}, Action::Play, true, true, ""},
      {{"-fs", "-editor", "a.lv"}, Action::Play, true, true, "a.lv"},
      {{"--help"}, Action::Help, false, false, ""},
      {{"-h"}, Action::Help, false, false, ""},
      {{"--version"}, Action::Version, false, false, ""},
      {{"-fs", "--help"}, Action::Help, true, false, ""},
      {{"--bogus"}, Action::Usage, false, false, ""},
      {{"-FS"}, Action::Usage, false, false, ""},
      {{"-fsx"}, Action::Usage, false, false, ""},
      {{"stray"}, Action::Usage, false, false, ""},
      {{"-fs", "my.lv"}, Action::Usage, false, false, ""},
      {{"-editor", "a.lv", "b.lv"}, Action::Usage, false, false, ""},
      {{"--help", "--bogus"}, Action::Help, false, false, ""},
  };
  for (const auto& [arguments, action, fullScreen, editor, editorFile] : rows) {
    std::string label;
    for (const char* argument : arguments) label += std::string(argument) + " ";
    LaunchOptions options = parse(arguments);
    EXPECT_EQ(options.action, action) << label;
    if (action == Action::Usage) continue;
    EXPECT_EQ(options.fullScreen, fullScreen) << label;
    EXPECT_EQ(options.editor, editor) << label;
    EXPECT_EQ(options.editorFile, editorFile) << label;
  }
}

// -fs and --windowed choose this run's window mode; the last one given counts, and neither
// given leaves the remembered mode.
TEST(CommandLine, TheLastWindowModeGivenCounts) {
  const std::tuple<std::vector<const char*>, bool, bool> rows[] = {
      {{}, false, false},
      {{"--windowed"}, false, true},
      {{"-fs", "--windowed"}, false, true},
      {{"--windowed", "--fullscreen"}, true, false},
      {{"--windowed", "-editor", "a.lv"}, false, true},
  };
  for (const auto& [arguments, fullScreen, windowed] : rows) {
    LaunchOptions options = parse(arguments);
    EXPECT_EQ(options.action, Action::Play) << arguments.size();
    EXPECT_EQ(options.fullScreen, fullScreen) << arguments.size();
    EXPECT_EQ(options.windowed, windowed) << arguments.size();
  }
}

TEST(CommandLine, InstallPackStandsAlone) {
  // Arguments; then action, pack source, replace, and the usage problem ("" when none).
  const std::tuple<std::vector<const char*>, Action, const char*, bool, const char*> rows[] = {
      {{"--install-pack", "a.zip"}, Action::InstallPack, "a.zip", false, ""},
      {{"--install-pack", "a.zip", "--force"}, Action::InstallPack, "a.zip", true, ""},
      {{"--force", "--install-pack", "-odd.zip"}, Action::InstallPack, "-odd.zip", true, ""},
      {{"--install-pack"}, Action::Usage, "", false, "'--install-pack' needs a pack folder or archive"},
      {{"--force"}, Action::Usage, "", false, "'--install-pack' needs a pack folder or archive"},
      {{"-fs", "--install-pack", "a.zip"},
       Action::Usage,
       "",
       false,
       "'--install-pack PATH' takes only '--force' besides"},
      {{"--install-pack", "a.zip", "b.zip"},
       Action::Usage,
       "",
       false,
       "'--install-pack PATH' takes only '--force' besides"},
      {{"--install-pack", "a.zip", "--install-pack", "b.zip"},
       Action::Usage,
       "",
       false,
       "'--install-pack PATH' takes only '--force' besides"},
  };
  for (const auto& [arguments, action, source, replace, problem] : rows) {
    std::string label;
    for (const char* argument : arguments) label += std::string(argument) + " ";
    LaunchOptions options = parse(arguments);
    EXPECT_EQ(options.action, action) << label;
    EXPECT_EQ(options.packSource, source) << label;
    EXPECT_EQ(options.replacePack, replace) << label;
    EXPECT_EQ(options.problem, problem) << label;
  }
}

std::string contents(FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(CommandLine, InfoRequestsGoToTheRightStreamWithTheirStatus) {
  // Arguments; exit status; what stdout and stderr start with ("" for nothing).
  const std::tuple<const char*, int, const char*, const char*> rows[] = {
      {"--help", 0, "Usage: binhopper", ""},
      {"--version", 0, "binhopper ", ""},
      {"--bogus", 2, "", "binhopper: unknown option '--bogus'\nUsage: binhopper"},
      {"-fs", -1, "", ""},
  };
  for (const auto& [argument, status, outStart, errStart] : rows) {
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    EXPECT_EQ(answerInfoRequest(parse({argument}), out, err), status) << argument;
    std::string outText = contents(out), errText = contents(err);
    EXPECT_EQ(outText.rfind(outStart, 0), 0u) << argument << ": " << outText;
    EXPECT_EQ(errText.rfind(errStart, 0), 0u) << argument << ": " << errText;
    EXPECT_EQ(outText.empty(), std::string(outStart).empty()) << argument;
    EXPECT_EQ(errText.empty(), std::string(errStart).empty()) << argument;
    std::fclose(out);
    std::fclose(err);
  }
}

TEST(CommandLine, ToolsAnswerHelpAndVersionAloneAndLeaveTheRest) {
  const char* const usage = "usage: tool FILE\n";
  // Arguments after the tool's name; exit status; standard output.
  const std::tuple<std::vector<const char*>, int, std::string> rows[] = {
      {{"--help"}, 0, usage},
      {{"-h"}, 0, usage},
      {{"--version"}, 0, std::string("tool ") + BINHOPPER_VERSION + "\n"},
      {{}, -1, ""},
      {{"level.lv"}, -1, ""},
      {{"--helpful"}, -1, ""},
      {{"-version"}, -1, ""},
      {{"check", "--help"}, -1, ""},
      {{"--version", "level.lv"}, -1, ""},
  };
  for (auto [arguments, status, output] : rows) {
    std::string label;
    for (const char* argument : arguments) label += std::string(argument) + " ";
    arguments.insert(arguments.begin(), "tool");
    FILE* out = std::tmpfile();
    ASSERT_TRUE(out);
    EXPECT_EQ(answerToolInfoRequest(static_cast<int>(arguments.size()), arguments.data(), "tool", usage, out), status)
        << label;
    EXPECT_EQ(contents(out), output) << label;
    std::fclose(out);
  }
}

}  // namespace
