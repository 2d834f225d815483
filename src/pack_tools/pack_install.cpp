#include "pack_tools/pack_install.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/safe_file.h"
#include "campaign/discovery.h"
#include "pack_tools/pack_archive.h"
#include "pack_tools/pack_check.h"
#include "pack_tools/pack_files.h"
#include "pack_tools/scratch_folder.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

// Inside the player directory, for when no system temporary folder takes the check's copy.
const char* const kPlayerTemporaryFolder = ".tmp";

Result<PackRead> readSource(const std::string& source) {
  struct stat status {};
  if (stat(source.c_str(), &status) != 0)
    return fail(Failure::CannotRead, std::string("cannot read: ") + std::strerror(errno), source);
  if (S_ISDIR(status.st_mode)) return readPackFolder(source);
  if (!S_ISREG(status.st_mode))
    return fail(Failure::NotAFile, "not a pack folder, .zip or .tar.gz archive (not a regular file)", source);
  if (static_cast<uint64_t>(status.st_size) > kMaximumArchiveBytes)
    return fail(Failure::TooLarge,
                format("larger than %llu bytes", static_cast<unsigned long long>(kMaximumArchiveBytes)), source);
  Result<std::string> read = readWholeFile(source);
  if (!read.ok()) return fail(read.kind(), "cannot read: " + read.problem().message, source);
  return readPackArchive(read.value(), archiveStem(source));
}

bool exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0;
}

// Renames the staged folder to the place: to an empty place only, or with `replace` by
// swapping the two at once. Where the file system cannot swap, the old pack is moved aside
// for the moment of the second rename and put back if that fails. A failure's message is the
// system's reason.
Result<> moveIntoPlace(const std::string& staged, const std::string& place, bool replace) {
  auto failed = [&place](int error) { return fail(Failure::CannotWrite, std::strerror(error), place); };
  unsigned flags = replace ? RENAME_EXCHANGE : RENAME_NOREPLACE;
  if (renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, place.c_str(), flags) == 0) return {};
  if (errno != EINVAL) return failed(errno);
  if (!replace) return rename(staged.c_str(), place.c_str()) == 0 ? Result<>() : failed(errno);
  std::string aside = staged + ".old";
  if (rename(place.c_str(), aside.c_str()) != 0) return failed(errno);
  if (rename(staged.c_str(), place.c_str()) != 0) {
    int error = errno;
    rename(aside.c_str(), place.c_str());
    return failed(error);
  }
  rename(aside.c_str(), staged.c_str());  // the scratch folder's owner removes it
  return {};
}

// The check's copy goes into the first temporary folder that takes it; the last one offered is
// the player's own, made when needed.
Result<std::unique_ptr<ScratchFolder>> checkFolder(const std::string& fallback) {
  std::vector<std::string> folders = temporaryFolders(fallback);
  std::error_code ignored;
  fs::create_directories(fallback, ignored);
  std::string refusals = "cannot make a folder for the check in ";
  for (size_t i = 0; i < folders.size(); ++i) {
    auto scratch = std::make_unique<ScratchFolder>(folders[i] + "/binhopper-check-XXXXXX");
    if (scratch->made().ok()) return scratch;
    refusals += (i == 0                    ? ""
                 : i + 1 == folders.size() ? ", nor in "
                                           : ", ") +
                folders[i] + " (" + scratch->made().problem().message + ")";
  }
  return fail(Failure::CannotWrite, refusals);
}

// Checks the files as they will be installed, from a copy outside the player's folders.
Result<PackCheck> checkCopy(const PackRead& pack, const std::string& shownAs, const std::string& fallback) {
  Result<std::unique_ptr<ScratchFolder>> scratch = checkFolder(fallback);
  if (!scratch.ok()) return scratch.problem();
  std::string folder = scratch.value()->path() + "/" + pack.folderName;
  std::error_code error;
  if (!fs::create_directory(folder, error))
    return fail(Failure::CannotWrite, "cannot write " + folder + ": " + error.message(), folder);
  Result<> written = writePackFiles(folder, pack.files);
  if (!written.ok()) return written.problem();
  return checkPack(folder, shownAs);
}

Result<> stageAndMove(const PackRead& pack, const std::string& packsFolder, const std::string& place, bool replace) {
  auto cannot = [](const std::string& what, const std::string& reason) {
    return fail(Failure::CannotWrite, what + ": " + reason);
  };
  std::error_code error;
  fs::create_directories(packsFolder, error);
  if (error) return cannot("cannot write " + packsFolder, error.message());
  ScratchFolder staged(packsFolder + "/.install-" + pack.folderName + "-XXXXXX");
  if (!staged.made().ok()) return cannot("cannot write in " + packsFolder, staged.made().problem().message);
  if (chmod(staged.path().c_str(), 0755) != 0) return cannot("cannot write " + staged.path(), std::strerror(errno));
  Result<> written = writePackFiles(staged.path(), pack.files);
  if (!written.ok()) return written;
  Result<> moved = moveIntoPlace(staged.path(), place, replace);
  if (!moved.ok()) return cannot("cannot move the pack into " + place, moved.problem().message);
  return {};
}

// Installs a pack that was read and may take its folder name; refuses one that fails its check.
PackInstall checkAndPlace(const PackRead& pack, const std::string& source, const std::string& packsFolder,
                          bool replace) {
  std::string place = packsFolder + "/" + pack.folderName;
  std::string shownAs = fs::is_directory(source) ? source : pack.folderName;
  std::string fallback = (fs::path(packsFolder).parent_path() / kPlayerTemporaryFolder).string();
  Result<PackCheck> check = checkCopy(pack, shownAs, fallback);
  if (!check.ok()) return PackInstall{{}, pack.folderName, check.problem()};
  PackInstall install{check.value().lines, pack.folderName, place};
  int problems = check.value().problems;
  if (!check.value().passed()) {
    install.installedIn = fail(Failure::Refused, format("the pack does not pass its check (%d problem%s)", problems,
                                                        problems == 1 ? "" : "s"));
    return install;
  }
  Result<> placed = stageAndMove(pack, packsFolder, place, replace);
  if (!placed.ok()) install.installedIn = placed.problem();
  return install;
}

}  // namespace

PackInstall installPack(const std::string& source, const CampaignPlaces& places, bool replace) {
  Result<PackRead> read = readSource(source);
  if (!read.ok()) return PackInstall{{}, "", read.problem()};
  const PackRead& pack = read.value();
  // Not even in place: where the player's packs are the shipped ones (a game run from its source
  // tree), --force would put a pack over a shipped one and drop what only it holds.
  Result<> named = checkFolderNameFree(pack.folderName, places);
  if (!named.ok()) return PackInstall{{}, pack.folderName, named.problem()};
  std::string place = places.playerPacks + "/" + pack.folderName;
  bool placeTaken = exists(place);
  if (placeTaken && !replace) {
    Problem taken =
        fail(Failure::Refused,
             "a pack '" + pack.folderName + "' is already installed in " + place + " (--force replaces it)", place);
    return PackInstall{{}, pack.folderName, taken, true};
  }
  return checkAndPlace(pack, source, places.playerPacks, placeTaken);
}

std::string installOutcome(const std::string& source, const PackInstall& install) {
  if (install.ok()) return "installed " + source + " in " + install.installedIn.value();
  return "cannot install " + source + ": " + install.installedIn.problem().message;
}

std::vector<std::string> checkProblems(const PackInstall& install) {
  std::vector<std::string> problems;
  for (const std::string& line : install.checkLines) {
    bool summary = line.rfind("LEVEL ", 0) == 0 || line.rfind("PROOF ", 0) == 0 || line.rfind("PACK ", 0) == 0;
    if (!summary) problems.push_back(line);
  }
  return problems;
}

CampaignInstall installForMenu(const std::string& source, const CampaignPlaces& places, bool replace) {
  PackInstall install = installPack(source, places, replace);
  std::vector<std::string> lines = checkProblems(install);
  lines.push_back(installOutcome(source, install));
  return CampaignInstall{lines, install.ok(), install.alreadyInstalled, install.folderName};
}
