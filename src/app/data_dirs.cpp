#include "app/data_dirs.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#ifndef BINHOPPER_INSTALLED_DATA
#define BINHOPPER_INSTALLED_DATA "../share/binhopper"
#endif

namespace fs = std::filesystem;

namespace {

std::string theDirectory;             // empty: the working directory
std::optional<DataSearch> theSearch;  // the search that chose the data directory, once one has

bool isSet(const char* variable) { return variable && variable[0] != '\0'; }

std::string absoluteOf(const std::string& path, const std::string& base) {
  fs::path result(path);
  if (result.is_relative()) result = fs::path(base) / result;
  result = result.lexically_normal();
  if (!result.has_filename() && result.has_parent_path()) result = result.parent_path();
  return result.string();
}

bool sameDirectory(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || fs::equivalent(a, b, error);
}

// The XDG rules ignore a relative $XDG_DATA_HOME.
std::string playerDataHome(const DataSearch& search) {
  if (isSet(search.xdgDataHome) && fs::path(search.xdgDataHome).is_absolute())
    return (fs::path(search.xdgDataHome) / "binhopper").string();
  if (isSet(search.home)) return (fs::path(search.home) / ".local/share/binhopper").string();
  return search.workingDirectory;
}

// The directory holding both media/ and levels/.
bool holdsGameData(const std::string& directory) {
  std::error_code error;
  return fs::is_directory(fs::path(directory) / "media", error) &&
         fs::is_directory(fs::path(directory) / "levels", error);
}

}  // namespace

DataDirs chooseDataDirs(const DataSearch& search) {
  DataDirs dirs;
  if (isSet(search.dataVariable)) {
    dirs.data = absoluteOf(search.dataVariable, search.workingDirectory);
  } else if (holdsGameData(search.workingDirectory) || !holdsGameData(search.installedData)) {
    dirs.data = search.workingDirectory;
  } else {
    dirs.data = search.installedData;
  }
  dirs.fromWorkingDirectory = sameDirectory(dirs.data, search.workingDirectory);
  dirs.player = dirs.fromWorkingDirectory ? search.workingDirectory : playerDataHome(search);
  return dirs;
}

DataSearch processDataSearch() {
  DataSearch search;
  search.dataVariable = std::getenv("BINHOPPER_DATA");
  search.xdgDataHome = std::getenv("XDG_DATA_HOME");
  search.home = std::getenv("HOME");
  std::error_code error;
  search.workingDirectory = fs::current_path(error).string();
  fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) search.installedData = absoluteOf(BINHOPPER_INSTALLED_DATA, program.parent_path().string());
  return search;
}

std::string describeDataSearch(const DataSearch& search) {
  const char* const hint = "BINHOPPER_DATA names the folder that holds the game's media/ and levels/";
  if (isSet(search.dataVariable)) {
    std::string folder = absoluteOf(search.dataVariable, search.workingDirectory);
    std::error_code error;
    std::string missing = fs::is_directory(folder, error) ? "" : ", a folder that does not exist";
    return "The game's data was looked for in " + folder + ", as BINHOPPER_DATA says" + missing + " (" + hint + ").";
  }
  std::string places = "the working directory " + search.workingDirectory;
  if (!search.installedData.empty()) places += " and beside the program in " + search.installedData;
  return "The game's data was looked for in " + places + "; BINHOPPER_DATA is not set (" + hint + ").";
}

DataSearch lastDataSearch() { return theSearch ? *theSearch : processDataSearch(); }

void setPlayerDirectory(const std::string& directory) { theDirectory = directory; }

std::string playerFile(const std::string& name) {
  return theDirectory.empty() ? name : (fs::path(theDirectory) / name).string();
}

std::string absolutePlayerFile(const std::string& name) {
  std::error_code error;
  return fs::absolute(playerFile(name), error).lexically_normal().string();
}

void enterDataDirs(const DataDirs& dirs, const DataSearch& search) {
  theSearch = search;
  std::error_code error;
  if (!dirs.fromWorkingDirectory) {
    fs::create_directories(fs::path(dirs.player) / "levels", error);
    fs::current_path(dirs.data, error);
  }
  setPlayerDirectory(dirs.fromWorkingDirectory ? "" : dirs.player);
}

void enterToolDataDirectory(const std::vector<std::string*>& userPaths) {
  DataSearch search = processDataSearch();
  theSearch = search;
  DataDirs dirs = chooseDataDirs(search);
  if (dirs.fromWorkingDirectory) return;
  for (std::string* path : userPaths)
    if (!path->empty()) *path = absoluteOf(*path, search.workingDirectory);
  std::error_code error;
  fs::current_path(dirs.data, error);
}
