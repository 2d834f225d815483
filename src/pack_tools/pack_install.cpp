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
// for the moment of the second rename and put back if that fails.
std::string moveIntoPlace(const std::string& staged, const std::string& place, bool replace) {
  unsigned flags = replace ? RENAME_EXCHANGE : RENAME_NOREPLACE;
  if (renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, place.c_str(), flags) == 0) return "";
  if (errno != EINVAL) return std::strerror(errno);
  if (!replace) return rename(staged.c_str(), place.c_str()) == 0 ? "" : std::strerror(errno);
  std::string aside = staged + ".old";
  if (rename(place.c_str(), aside.c_str()) != 0) return std::strerror(errno);
  if (rename(staged.c_str(), place.c_str()) != 0) {
    int error = errno;
    rename(aside.c_str(), place.c_str());
    return std::strerror(error);
  }
  rename(aside.c_str(), staged.c_str());  // the scratch folder's owner removes it
  return "";
}

// The check's copy goes into the first temporary folder that takes it; the last one offered is
// the player's own, made when needed.
std::unique_ptr<ScratchFolder> checkFolder(const std::string& fallback, std::string& failure) {
  std::vector<std::string> folders = temporaryFolders(fallback);
  std::error_code ignored;
  fs::create_directories(fallback, ignored);
  failure = "cannot make a folder for the check in ";
  for (size_t i = 0; i < folders.size(); ++i) {
    auto scratch = std::make_unique<ScratchFolder>(folders[i] + "/binhopper-check-XXXXXX");
    if (scratch->failure().empty()) {
      failure.clear();
      return scratch;
    }
    failure += (i == 0                    ? ""
                : i + 1 == folders.size() ? ", nor in "
                                          : ", ") +
               folders[i] + " (" + scratch->failure() + ")";
  }
  return nullptr;
}

// Checks the files as they will be installed, from a copy outside the player's folders.
PackCheck checkCopy(const PackRead& pack, const std::string& shownAs, const std::string& fallback,
                    std::string& failure) {
  std::unique_ptr<ScratchFolder> scratch = checkFolder(fallback, failure);
  if (!scratch) return PackCheck{};
  std::string folder = scratch->path() + "/" + pack.folderName;
  std::error_code error;
  if (!fs::create_directory(folder, error)) failure = "cannot write " + folder + ": " + error.message();
  if (failure.empty()) {
    Result<> written = writePackFiles(folder, pack.files);
    if (!written.ok()) failure = written.problem().message;
  }
  if (!failure.empty()) return PackCheck{};
  return checkPack(folder, shownAs);
}

std::string stageAndMove(const PackRead& pack, const std::string& packsFolder, const std::string& place, bool replace) {
  std::error_code error;
  fs::create_directories(packsFolder, error);
  if (error) return "cannot write " + packsFolder + ": " + error.message();
  ScratchFolder staged(packsFolder + "/.install-" + pack.folderName + "-XXXXXX");
  if (!staged.failure().empty()) return "cannot write in " + packsFolder + ": " + staged.failure();
  if (chmod(staged.path().c_str(), 0755) != 0) return "cannot write " + staged.path() + ": " + std::strerror(errno);
  Result<> written = writePackFiles(staged.path(), pack.files);
  if (!written.ok()) return written.problem().message;
  std::string failure = moveIntoPlace(staged.path(), place, replace);
  return failure.empty() ? "" : "cannot move the pack into " + place + ": " + failure;
}

PackInstall refused(std::string reason) {
  PackInstall install;
  install.refusal = std::move(reason);
  return install;
}

}  // namespace

PackInstall installPack(const std::string& source, const CampaignPlaces& places, bool replace) {
  PackInstall install;
  Result<PackRead> read = readSource(source);
  if (!read.ok()) return refused(read.problem().message);
  const PackRead& pack = read.value();
  const std::string& packsFolder = places.playerPacks;
  std::string place = packsFolder + "/" + pack.folderName;
  // Not even in place: where the player's packs are the shipped ones (a game run from its source
  // tree), --force would put a pack over a shipped one and drop what only it holds.
  Result<> named = checkFolderNameFree(pack.folderName, places);
  install.folderName = pack.folderName;
  if (!named.ok()) return refused(named.problem().message);
  bool placeTaken = exists(place);
  if (placeTaken && !replace) {
    install.refusal = "a pack '" + pack.folderName + "' is already installed in " + place + " (--force replaces it)";
    install.alreadyInstalled = true;
    return install;
  }
  std::string failure;
  std::string shownAs = fs::is_directory(source) ? source : pack.folderName;
  std::string fallback = (fs::path(packsFolder).parent_path() / kPlayerTemporaryFolder).string();
  PackCheck check = checkCopy(pack, shownAs, fallback, failure);
  install.checkLines = check.lines;
  if (!failure.empty()) install.refusal = failure;
  if (install.ok() && !check.passed())
    install.refusal =
        format("the pack does not pass its check (%d problem%s)", check.problems, check.problems == 1 ? "" : "s");
  if (install.ok()) install.refusal = stageAndMove(pack, packsFolder, place, placeTaken);
  if (install.ok()) install.installedIn = place;
  return install;
}

std::string installOutcome(const std::string& source, const PackInstall& install) {
  if (install.ok()) return "installed " + source + " in " + install.installedIn;
  return "cannot install " + source + ": " + install.refusal;
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
