#pragma once

#include <string>

// An advisory lock (flock) on a lock file, held while the object lives, so that games saving
// one file at the same time take turns. The lock file is created when missing and left in
// place afterwards: removing it would let two writers lock two different files of one name.
// Waiting is bounded, so a stopped or hung holder makes a save fail instead of freezing the
// game.
class FileLock {
 public:
  explicit FileLock(const std::string& lockPath);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return descriptor_ >= 0; }
  // Why the lock is not held: the lock file's path and the system's reason.
  const std::string& failure() const { return failure_; }

 private:
  int descriptor_ = -1;
  std::string failure_;
};
