#pragma once

#include <string>

// Whole-file reads and writes for the files players and authors hand us (levels, progress,
// scripts, settings). Failures come back as a reason ("Is a directory", "not a regular
// file", strerror text) for the caller to put into its own message.
struct FileResult {
  bool ok = true;
  std::string reason;
  bool opened = true;  // false when the failure came before any byte could be written
};

// Reads a file whole. A directory, a read error or more than 64 MiB is a failure, never an
// empty or shortened file.
FileResult readWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at path with bytes so that at every moment the path holds either the
// old file or the new one, whole. A symbolic link is followed to its target, the target's
// permissions are kept, and anything that is not a regular file is refused. The data and
// then the directory are synced before success is reported; on failure the temporary file
// is removed.
FileResult replaceFile(const std::string& path, const std::string& bytes);
