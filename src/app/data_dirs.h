#pragma once

#include <string>
#include <vector>

// Where the game reads its data (media/ and levels/) and where it keeps the player's files
// (progress, settings, the editor's levels).
struct DataDirs {
  std::string data;    // absolute
  std::string player;  // absolute
  bool fromWorkingDirectory = false;
};

// What the search looks at, gathered by the caller so the order can be tested on its own.
struct DataSearch {
  const char* dataVariable = nullptr;  // $BINHOPPER_DATA
  const char* xdgDataHome = nullptr;   // $XDG_DATA_HOME
  const char* home = nullptr;          // $HOME
  std::string workingDirectory;
  std::string installedData;  // the data directory beside the installed program
};

// BINHOPPER_DATA when set, else the working directory when it holds media/ and levels/, else
// the installed data; with none of them the working directory (whose missing files are then
// reported as today). Player files stay in the working directory when the data comes from
// it, and go to $XDG_DATA_HOME/binhopper (default ~/.local/share/binhopper) otherwise.
DataDirs chooseDataDirs(const DataSearch& search);

// The search as this process sees it: its environment, working directory and executable.
DataSearch processDataSearch();

// Where the data was looked for, as one sentence for the message about media that are missing:
// the folders searched in order, and what BINHOPPER_DATA is for.
std::string describeDataSearch(const DataSearch& search);
// The search that chose this process's data directory (processDataSearch() until one did).
DataSearch lastDataSearch();

// The player's files for the rest of the run. Until set, they live in the working directory.
void setPlayerDirectory(const std::string& directory);
// A player file by its name relative to the player directory, e.g. "levels/edit.lv".
std::string playerFile(const std::string& name);
// The same as an absolute path, for the desktop's dialogs and prompts, which know nothing of the
// working directory.
std::string absolutePlayerFile(const std::string& name);

// Makes the data directory the working directory (every data path is relative to it) and the
// player directory the home of player files, creating it and its levels/ folder. Paths the
// player gave relative to the old working directory must be made absolute before this.
void enterDataDirs(const DataDirs& dirs, const DataSearch& search);
// For the tools, which keep no player files: finds the data as the game does and makes it the
// working directory. The paths the user gave are made absolute first when that changes it.
void enterToolDataDirectory(const std::vector<std::string*>& userPaths);
