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

std::string labelOf(const std::vector<const char*>& arguments) {
  std::string label;
  for (const char* argument : arguments) label += std::string(argument) + " ";
  return label;
}

// -fs and --windowed choose this run's window mode: the last one given counts, and neither
// given leaves the remembered mode. Each alone is tests/e2e/window_mode.sh, --help alone
// tests/e2e/install_pack.sh, and an unknown option InfoRequestsGoToTheRightStreamWithTheirStatus.
TEST(CommandLine, OptionsTable) {
  // Arguments after the program name; then action, full screen, windowed, editor, editor file,
  // no audio.
  const std::tuple<std::vector<const char*>, Action, bool, bool, bool, const char*, bool> rows[] = {
      {{}, Action::Play, false, false, false, "", false},
      {{"--fullscreen"}, Action::Play, true, false, false, "", false},
      {{"-fs", "--windowed"}, Action::Play, false, true, false, "", false},
      {{"--windowed", "--fullscreen"}, Action::Play, true, false, false, "", false},
      {{"-editor"}, Action::Play, false, false, true, "", false},
      {{"--editor", "mine.lv"}, Action::Play, false, false, true, "mine.lv", false},
      {{"-editor", "-fs"}, Action::Play, true, false, true, "", false},
      {{"--windowed", "-editor", "a.lv"}, Action::Play, false, true, true, "a.lv", false},
      {{"-h"}, Action::Help, false, false, false, "", false},
      {{"--version"}, Action::Version, false, false, false, "", false},
      {{"-fs", "--help"}, Action::Help, true, false, false, "", false},
      {{"-FS"}, Action::Usage, false, false, false, "", false},
      {{"-fsx"}, Action::Usage, false, false, false, "", false},
      {{"stray"}, Action::Usage, false, false, false, "", false},
      {{"-fs", "my.lv"}, Action::Usage, false, false, false, "", false},
      {{"-editor", "a.lv", "b.lv"}, Action::Usage, false, false, false, "", false},
      {{"--help", "--bogus"}, Action::Help, false, false, false, "", false},
      {{"--no-audio"}, Action::Play, false, false, false, "", true},
      {{"-editor", "a.lv", "--no-audio"}, Action::Play, false, false, true, "a.lv", true},
      {{"--no-audio", "-editor", "b.lv"}, Action::Play, false, false, true, "b.lv", true},
  };
  for (const auto& [arguments, action, fullScreen, windowed, editor, editorFile, noAudio] : rows) {
    const std::string label = labelOf(arguments);
    LaunchOptions options = parse(arguments);
    EXPECT_EQ(options.action, action) << label;
    if (action == Action::Usage) continue;
    EXPECT_EQ(options.fullScreen, fullScreen) << label;
    EXPECT_EQ(options.windowed, windowed) << label;
    EXPECT_EQ(options.editor, editor) << label;
    EXPECT_EQ(options.editorFile, editorFile) << label;
    EXPECT_EQ(options.noAudio, noAudio) << label;
  }
}

// The install of one path, with no path, with --force alone and beside the editor is
// tests/e2e/install_pack.sh; these are the cases it leaves out.
TEST(CommandLine, InstallPackStandsAlone) {
  const char* const alone = "'--install-pack PATH' takes only '--force' besides";
  // Arguments; then action, pack source, replace, and the usage problem ("" when none).
  const std::tuple<std::vector<const char*>, Action, const char*, bool, const char*> rows[] = {
      {{"--install-pack", "a.zip", "--force"}, Action::InstallPack, "a.zip", true, ""},
      {{"--force", "--install-pack", "-odd.zip"}, Action::InstallPack, "-odd.zip", true, ""},
      {{"-fs", "--install-pack", "a.zip"}, Action::Usage, "", false, alone},
      {{"--install-pack", "a.zip", "b.zip"}, Action::Usage, "", false, alone},
      {{"--install-pack", "a.zip", "--install-pack", "b.zip"}, Action::Usage, "", false, alone},
  };
  for (const auto& [arguments, action, source, replace, problem] : rows) {
    const std::string label = labelOf(arguments);
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

// --help on standard output is tests/e2e/install_pack.sh; a run with -fs going on to play is
// tests/e2e/window_mode.sh.
TEST(CommandLine, InfoRequestsGoToTheRightStreamWithTheirStatus) {
  // Arguments; exit status; what stdout and stderr start with ("" for nothing).
  const std::tuple<const char*, int, const char*, const char*> rows[] = {
      {"--version", 0, "binhopper ", ""},
      {"--bogus", 2, "", "binhopper: unknown option '--bogus'\nUsage: binhopper"},
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

// Each installed tool's --help and --version is tests/e2e/installed.sh.
TEST(CommandLine, ToolsAnswerHelpAndVersionAloneAndLeaveTheRest) {
  const char* const usage = "usage: tool FILE\n";
  // Arguments after the tool's name; exit status; standard output.
  const std::tuple<std::vector<const char*>, int, std::string> rows[] = {
      {{"-h"}, 0, usage},
      {{}, -1, ""},
      {{"--helpful"}, -1, ""},
      {{"-version"}, -1, ""},
      {{"check", "--help"}, -1, ""},
      {{"--version", "level.lv"}, -1, ""},
  };
  for (auto [arguments, status, output] : rows) {
    const std::string label = labelOf(arguments);
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
