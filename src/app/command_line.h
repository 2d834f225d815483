#pragma once

#include <cstdio>
#include <string>

// What the command line asks for. Options may come in any order; "-editor" may be followed by
// the level file to edit. "--install-pack PATH [--force]" stands alone.
struct LaunchOptions {
  enum class Action { Play, InstallPack, Help, Version, Usage };
  Action action = Action::Play;
  // A window mode for this run only, not remembered; the last of -fs and --windowed counts.
  bool fullScreen = false;
  bool windowed = false;
  bool editor = false;
  bool noAudio = false;      // --no-audio: silent, without installing audio
  std::string editorFile;    // empty: the editor's own scratch level
  std::string packSource;    // for Action::InstallPack: a pack folder or archive
  bool replacePack = false;  // --force: an installed pack of the same folder name is replaced
  std::string problem;       // why the usage is shown, for Action::Usage
};

LaunchOptions parseCommandLine(int argc, const char* const* argv);

// For Help, Version and Usage: prints what was asked (usage errors on stderr) and gives the
// exit status (0, or 2 for a usage error). Play and InstallPack print nothing and give -1.
int answerInfoRequest(const LaunchOptions& options, FILE* out, FILE* err);

// For the game's tools: "--help" (or "-h") or "--version" as the only argument prints the
// tool's usage or "NAME VERSION" on out and gives 0; any other command line gives -1.
int answerToolInfoRequest(int argc, const char* const* argv, const char* name, const char* usage, FILE* out);
