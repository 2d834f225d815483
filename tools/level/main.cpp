// binhopper-level: turns the readable level text into a level file and back, and makes, checks
// and shares packs.
//   binhopper-level compile SRC.txt OUT.lv
//   binhopper-level dump IN.lv            (text on standard output)
//   binhopper-level check IN.lv           (what keeps the level from being finished)
//   binhopper-level pack check DIR        (pack.txt, every level, every solution replayed)
//   binhopper-level pack new DIR "NAME"   (pack.txt and an empty 1.lv)
//   binhopper-level pack zip DIR FILE.zip (the pack as one archive, once it passes its check)
// Exits 1 with one line on standard error when the input is bad (pack check: with the
// problems on standard output), 2 on a wrong command line.

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/data_dirs.h"
#include "app/library.h"
#include "app/safe_file.h"
#include "campaign/discovery.h"
#include "editor/level_check.h"
#include "entities/prototypes.h"
#include "game/fatal.h"
#include "pack_tools/new_pack.h"
#include "pack_tools/pack_archive.h"
#include "pack_tools/pack_check.h"
#include "pack_tools/pack_files.h"
#include "world/level_file.h"
#include "world/level_text.h"

namespace {

const char* const kUsage =
    "usage: binhopper-level compile SRC.txt OUT.lv\n"
    "       binhopper-level dump IN.lv\n"
    "       binhopper-level check IN.lv\n"
    "       binhopper-level pack check DIR\n"
    "       binhopper-level pack new DIR \"NAME\"\n"
    "       binhopper-level pack zip DIR FILE.zip\n"
    "Turns the level text into a level file and back, checks a level, and makes, checks and\n"
    "packs a campaign.\n"
    "\n"
    "  compile       the level text SRC.txt written as the level file OUT.lv\n"
    "  dump          the level file IN.lv as text on standard output\n"
    "  check         what keeps IN.lv from being finished, one line each\n"
    "  pack check    the campaign in DIR: pack.txt, every level, every solution replayed\n"
    "  pack new      a new campaign in DIR named NAME, with an empty first level\n"
    "  pack zip      the campaign in DIR as a shareable archive FILE.zip\n"
    "  -h, --help    show this help and exit\n"
    "      --version show the version and exit\n";

int failWith(const std::string& message) {
  std::fprintf(stderr, "binhopper-level: %s\n", message.c_str());
  return 1;
}

// The problem's message is what to tell the author.
Result<std::string> readWhole(const char* path) {
  Result<std::string> read = readWholeFile(path);
  if (read.ok()) return read;
  Problem unread = read.problem();
  unread.message = std::string("cannot read '") + path + "': " + unread.message;
  return unread;
}

int compile(const char* source, const char* output) {
  if (sameFile(source, output))
    return failWith(std::string("the level file ") + output + " would be written over the text it is made from");
  Result<std::string> text = readWhole(source);
  if (!text.ok()) return failWith(text.problem().message);
  Result<std::string> level = compileLevelText(text.value(), levelKinds());
  if (!level.ok()) return failWith(std::string(source) + ": " + located(level.problem()));
  Result<> written = writeLevelBytes(output, level.value());
  if (!written.ok()) return failWith(written.problem().message);
  return 0;
}

int dump(const char* level) {
  Result<std::string> bytes = readWhole(level);
  if (!bytes.ok()) return failWith(bytes.problem().message);
  Result<std::string> text = dumpLevelText(bytes.value(), levelKinds());
  if (!text.ok()) return failWith(std::string(level) + ": " + located(text.problem()));
  std::fwrite(text.value().data(), 1, text.value().size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : failWith("cannot write the text");
}

// The level tool draws nothing: its levels are built and played headless, so it needs none of
// the game's pictures and works from any directory. With no load-failure handler installed a
// picture that is not there is simply not loaded.
void startHeadless() {
  Result<> started = startLibrary();
  if (!started.ok()) fatal(started.problem().message.c_str());
}

// One line per problem, "IN.lv: ok" when there is none; exit 1 when there is any.
int check(const char* level) {
  startHeadless();
  World world;
  Result<> loaded = readLevel(level, world);
  if (!loaded.ok()) return failWith(loaded.problem().message);
  world.flush();
  std::vector<std::string> problems = levelProblems(world);
  for (const std::string& problem : problems) std::printf("%s: %s\n", level, problem.c_str());
  if (problems.empty()) std::printf("%s: ok\n", level);
  return problems.empty() ? 0 : 1;
}

// A pack may not take the folder name of the game's own campaigns, where the game would find
// them; the data is looked for only to name those, never to play.
bool checkPackAt(const char* folder) {
  startHeadless();
  CampaignPlaces places = campaignPlacesIn(chooseDataDirs(processDataSearch()));
  PackCheck check = checkPack(folder, folder, &places);
  for (const std::string& line : check.lines) std::printf("%s\n", line.c_str());
  return check.passed();
}

int packCheck(const char* folder) { return checkPackAt(folder) ? 0 : 1; }

// The name of the folder itself, as "fresh" of "fresh/" or "../fresh".
std::string folderName(const char* folder) {
  std::filesystem::path path = std::filesystem::absolute(folder).lexically_normal();
  return (path.has_filename() ? path : path.parent_path()).filename().string();
}

int packNew(const char* folder, const char* name) {
  std::vector<std::string> problems = makeNewPack(folder, name);
  for (const std::string& problem : problems) std::fprintf(stderr, "binhopper-level: %s\n", problem.c_str());
  if (!problems.empty()) return 1;
  std::printf("%s: a new pack '%s' with pack.txt and an empty level 1.lv\n", folder, name);
  std::string packs = (std::filesystem::path(chooseDataDirs(processDataSearch()).player) / "packs").string();
  std::printf(
      "Next:\n"
      "  1. Make level 1 in the editor: binhopper --editor %s/1.lv (or the menu's Editor, Ctrl+O).\n"
      "     P test-plays it; after a win, K keeps the run as the level's proof.\n"
      "     C saves the edited level into the pack as its next level.\n"
      "  2. Name each level and set its target time in %s/pack.txt.\n"
      "  3. Check the pack: binhopper-level pack check %s\n"
      "  4. Play it: put the folder in %s, or share it:\n"
      "     binhopper-level pack zip %s %s.zip (players add it with the menu's \"Add a campaign\u2026\").\n",
      folder, folder, folder, packs.c_str(), folder, folderName(folder).c_str());
  return 0;
}

// The archive's dates are those of the newest file, so zipping an unchanged pack again gives
// the same bytes.
long long newestChange(const std::string& folder, const PackFiles& files) {
  long long newest = 0;
  for (const auto& entry : files) {
    struct stat status {};
    if (stat((folder + "/" + entry.first).c_str(), &status) == 0 && status.st_mtime > newest) newest = status.st_mtime;
  }
  return newest;
}

int packZip(const char* folder, const char* archive) {
  std::string archivePath = std::filesystem::absolute(archive).string();
  Result<PackRead> read = readPackFolder(folder);
  if (!read.ok()) return failWith(std::string(folder) + ": " + read.problem().message);
  const PackRead& pack = read.value();
  for (const auto& entry : pack.files) {
    std::string file = std::string(folder) + "/" + entry.first;
    if (sameFile(file, archivePath))
      return failWith("the archive " + std::string(archive) + " would be written over " + file + ", part of the pack");
  }
  long long modified = newestChange(folder, pack.files);
  if (!checkPackAt(folder)) return failWith(std::string(folder) + " does not pass its check; no archive written");
  Result<> written = replaceFile(archivePath, zipPack(pack.files, pack.folderName, modified));
  if (!written.ok()) return failWith("cannot write '" + std::string(archive) + "': " + written.problem().message);
  std::printf("%s: pack '%s', %zu files\n", archive, pack.folderName.c_str(), pack.files.size());
  return 0;
}

int pack(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[2], "check") == 0) return packCheck(argv[3]);
  if (argc == 5 && std::strcmp(argv[2], "new") == 0) return packNew(argv[3], argv[4]);
  if (argc == 5 && std::strcmp(argv[2], "zip") == 0) return packZip(argv[3], argv[4]);
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int infoStatus = answerToolInfoRequest(argc, argv, "binhopper-level", kUsage, stdout);
  if (infoStatus >= 0) return infoStatus;
  if (argc >= 2 && std::strcmp(argv[1], "pack") == 0) return pack(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "compile") == 0) return compile(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "dump") == 0) return dump(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "check") == 0) return check(argv[2]);
  std::fputs(kUsage, stderr);
  return 2;
}
