#pragma once

#include <string>
#include <vector>

#include "app/result.h"

// A fresh folder made from a mkdtemp pattern ("<folder>/<prefix>XXXXXX"), removed with whatever
// it holds when this goes away, and also when the process is ended by SIGINT, SIGTERM or SIGHUP
// while it exists (the signal then ends the process as it would have). At most
// kMostScratchFolders exist at once; one more fails.
class ScratchFolder {
 public:
  static constexpr int kMostScratchFolders = 4;

  explicit ScratchFolder(const std::string& pattern);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  // Whether the folder was made, or the system's reason it could not be.
  const Result<>& made() const { return made_; }

 private:
  std::string path_;
  Result<> made_;
  int slot_ = -1;
};

// The folders a temporary folder may go into, in order: $TMPDIR when it is set and absolute,
// /tmp, and last `fallback` (a folder of the player's own, created when needed). Never the
// working directory.
std::vector<std::string> temporaryFolders(const std::string& fallback);
