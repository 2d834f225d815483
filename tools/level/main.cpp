// binhopper-level: turns the readable level text into a level file and back.
//   binhopper-level compile SRC.txt OUT.lv
//   binhopper-level dump IN.lv            (text on standard output)
//   binhopper-level check IN.lv           (what keeps the level from being finished)
// Exits 1 with one line on standard error when the input is bad, 2 on a wrong command line.

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/data_dirs.h"
#include "app/safe_file.h"
#include "editor/level_check.h"
#include "entities/prototypes.h"
#include "world/level_file.h"
#include "world/level_text.h"

namespace {

const char* const kUsage =
    "usage: binhopper-level compile SRC.txt OUT.lv\n"
    "       binhopper-level dump IN.lv\n"
    "       binhopper-level check IN.lv\n"
    "Turns the level text into a level file and back, and checks a level.\n"
    "\n"
    "  compile       the level text SRC.txt written as the level file OUT.lv\n"
    "  dump          the level file IN.lv as text on standard output\n"
    "  check         what keeps IN.lv from being finished, one line each\n"
    "  -h, --help    show this help and exit\n"
    "      --version show the version and exit\n";

int failWith(const std::string& message) {
  std::fprintf(stderr, "binhopper-level: %s\n", message.c_str());
  return 1;
}

// Empty when the file was read whole, otherwise what to tell the author.
std::string readWhole(const char* path, std::string& bytes) {
  FileResult read = readWholeFile(path, bytes);
  return read.ok ? "" : std::string("cannot read '") + path + "': " + read.reason;
}

int compile(const char* source, const char* output) {
  std::string text;
  std::string problem = readWhole(source, text);
  if (!problem.empty()) return failWith(problem);
  LevelTextResult result = compileLevelText(text, levelKinds());
  if (!result.ok) return failWith(std::string(source) + ": " + result.message);
  LevelFileResult written = writeLevelBytes(output, result.output);
  if (!written.ok) return failWith(written.message);
  return 0;
}

int dump(const char* level) {
  std::string bytes;
  std::string problem = readWhole(level, bytes);
  if (!problem.empty()) return failWith(problem);
  LevelTextResult result = dumpLevelText(bytes, levelKinds());
  if (!result.ok) return failWith(std::string(level) + ": " + result.message);
  std::fwrite(result.output.data(), 1, result.output.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : failWith("cannot write the text");
}

// The loader builds the level's objects, whose pictures and font come from the game's media;
// no display is needed for that.
bool startLibrary() {
  if (!al_install_system(ALLEGRO_VERSION_INT, atexit) || !al_init_image_addon()) return false;
  al_init_font_addon();
  return al_init_ttf_addon();
}

// One line per problem, "IN.lv: ok" when there is none; exit 1 when there is any.
int check(const char* level) {
  std::string path = level;
  enterToolDataDirectory({&path});
  if (!startLibrary()) return failWith("cannot start the library");
  World world;
  LevelFileResult loaded = readLevel(path.c_str(), world);
  if (!loaded.ok) return failWith(loaded.message);
  world.flush();
  std::vector<std::string> problems = levelProblems(world);
  for (const std::string& problem : problems) std::printf("%s: %s\n", level, problem.c_str());
  if (problems.empty()) std::printf("%s: ok\n", level);
  return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int infoStatus = answerToolInfoRequest(argc, argv, "binhopper-level", kUsage, stdout);
  if (infoStatus >= 0) return infoStatus;
  if (argc == 4 && std::strcmp(argv[1], "compile") == 0) return compile(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "dump") == 0) return dump(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "check") == 0) return check(argv[2]);
  std::fputs(kUsage, stderr);
  return 2;
}
