#pragma once

#include <filesystem>
#include <string>

#include "unit/test_support.h"

// A temporary working directory holding a link to the repository's media and an empty
// "levels" folder. The process works in it while the object lives.
class GameDirectory {
 public:
  GameDirectory() : previous_(std::filesystem::current_path()) {
    initAllegroForTests();
    std::filesystem::create_directories(directory_.file("levels"));
    std::filesystem::create_directory_symlink(std::string(BINHOPPER_SOURCE_DIR) + "/media", directory_.file("media"));
    std::filesystem::current_path(directory_.path());
  }
  ~GameDirectory() { std::filesystem::current_path(previous_); }
  GameDirectory(const GameDirectory&) = delete;
  GameDirectory& operator=(const GameDirectory&) = delete;

  // Writes levels/<name> with the given bytes (an empty file is an empty level).
  void writeLevel(const std::string& name, const std::string& bytes = "") const {
    writeFileBytes(directory_.file("levels/" + name), bytes);
  }
  std::string path(const std::string& name) const { return directory_.file(name); }

 private:
  std::filesystem::path previous_;
  TempDir directory_;
};
