#include "app/command_line.h"

#include <cstring>

#ifndef BINHOPPER_VERSION
#define BINHOPPER_VERSION "unknown"
#endif

namespace {

constexpr int kUsageError = 2;

const char* const kUsage =
    "Usage: binhopper [OPTION]...\n"
    "A platform game about throwing garbage into bins, with a level editor.\n"
    "\n"
    "  -fs, --fullscreen         play in a full-screen window this time (F11 switches)\n"
    "      --windowed            play in a window this time\n"
    "  -editor, --editor [FILE]  open the level editor, on FILE if given\n"
    "      --no-audio            play without sound, without looking for a sound device\n"
    "      --install-pack PATH [--force]\n"
    "                            check the pack folder, .zip or .tar.gz archive PATH\n"
    "                            and copy it into the player's packs/ folder; --force\n"
    "                            replaces an installed pack of the same folder name\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and exit\n"
    "\n"
    "The game looks for media/ and levels/ in $BINHOPPER_DATA, then in the working\n"
    "directory, then beside its installed program. Packs are made, checked and\n"
    "zipped with binhopper-level pack new|check|zip.\n";

bool is(const char* argument, const char* shortForm, const char* longForm) {
  return std::strcmp(argument, shortForm) == 0 || std::strcmp(argument, longForm) == 0;
}

LaunchOptions usageError(const std::string& problem) {
  LaunchOptions options;
  options.action = LaunchOptions::Action::Usage;
  options.problem = problem;
  return options;
}

// "--install-pack PATH [--force]", in either order, and nothing else.
LaunchOptions parseInstall(int argc, const char* const* argv) {
  LaunchOptions options;
  options.action = LaunchOptions::Action::InstallPack;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--force") == 0 && !options.replacePack) {
      options.replacePack = true;
    } else if (std::strcmp(argv[i], "--install-pack") == 0 && options.packSource.empty()) {
      if (i + 1 == argc) break;
      options.packSource = argv[++i];
    } else {
      return usageError("'--install-pack PATH' takes only '--force' besides");
    }
  }
  if (options.packSource.empty()) return usageError("'--install-pack' needs a pack folder or archive");
  return options;
}

bool asksToInstall(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--install-pack") == 0 || std::strcmp(argv[i], "--force") == 0) return true;
  }
  return false;
}

}  // namespace

LaunchOptions parseCommandLine(int argc, const char* const* argv) {
  if (asksToInstall(argc, argv)) return parseInstall(argc, argv);
  LaunchOptions options;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (is(argument, "-h", "--help")) {
      options.action = LaunchOptions::Action::Help;
    } else if (std::strcmp(argument, "--version") == 0) {
      options.action = LaunchOptions::Action::Version;
    } else if (is(argument, "-fs", "--fullscreen")) {
      options.fullScreen = true;
      options.windowed = false;
    } else if (std::strcmp(argument, "--windowed") == 0) {
      options.windowed = true;
      options.fullScreen = false;
    } else if (std::strcmp(argument, "--no-audio") == 0) {
      options.noAudio = true;
    } else if (is(argument, "-editor", "--editor")) {
      options.editor = true;
      if (i + 1 < argc && argv[i + 1][0] != '-' && argv[i + 1][0] != '\0') options.editorFile = argv[++i];
    } else if (argument[0] == '-') {
      return usageError(std::string("unknown option '") + argument + "'");
    } else {
      return usageError(std::string("unexpected argument '") + argument + "'");
    }
    if (options.action != LaunchOptions::Action::Play) return options;
  }
  // The editor takes the level to edit as its one operand.
  if (options.editor && argc >= 3 && argv[2][0] != '-') options.editorFile = argv[2];
  return options;
}

int answerInfoRequest(const LaunchOptions& options, FILE* out, FILE* err) {
  switch (options.action) {
    case LaunchOptions::Action::Help:
      std::fputs(kUsage, out);
      return 0;
    case LaunchOptions::Action::Version:
      std::fprintf(out, "binhopper %s\n", BINHOPPER_VERSION);
      return 0;
    case LaunchOptions::Action::Usage:
      std::fprintf(err, "binhopper: %s\n%s", options.problem.c_str(), kUsage);
      return kUsageError;
    case LaunchOptions::Action::Play:
    case LaunchOptions::Action::InstallPack:
      break;
  }
  return -1;
}

int answerToolInfoRequest(int argc, const char* const* argv, const char* name, const char* usage, FILE* out) {
  if (argc != 2) return -1;
  if (is(argv[1], "-h", "--help")) {
    std::fputs(usage, out);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") != 0) return -1;
  std::fprintf(out, "%s %s\n", name, BINHOPPER_VERSION);
  return 0;
}
