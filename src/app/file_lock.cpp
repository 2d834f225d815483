#include "app/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// A save holds the lock for one read and one synced write: milliseconds, seconds on a very
// slow disk. Longer means the holder is stuck.
constexpr auto kLongestWait = std::chrono::seconds(5);
constexpr auto kRetryInterval = std::chrono::milliseconds(10);

}  // namespace

// Read-only is enough to lock, so a lock file left by another user still serves. Opening
// without waiting and refusing anything but a regular file keeps a FIFO in its place harmless.
FileLock::FileLock(const std::string& lockPath) {
  int descriptor = open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0666);
  struct stat status {};
  if (descriptor < 0 && errno == ELOOP) {
    failure_ = "cannot lock '" + lockPath + "': it is a symbolic link, which a lock file may not be (remove it)";
  } else if (descriptor < 0 || fstat(descriptor, &status) != 0) {
    failure_ = "cannot lock '" + lockPath + "': " + std::strerror(errno);
  } else if (!S_ISREG(status.st_mode)) {
    failure_ = "cannot lock '" + lockPath + "': not a regular file";
  }
  auto deadline = std::chrono::steady_clock::now() + kLongestWait;
  while (failure_.empty() && flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      failure_ = "cannot lock '" + lockPath + "': " + std::strerror(errno);
    } else if (std::chrono::steady_clock::now() >= deadline) {
      failure_ = "'" + lockPath + "' stayed locked by another program";
    } else {
      std::this_thread::sleep_for(kRetryInterval);
    }
  }
  if (failure_.empty()) {
    descriptor_ = descriptor;
  } else if (descriptor >= 0) {
    close(descriptor);
  }
}

FileLock::~FileLock() {
  if (descriptor_ >= 0) close(descriptor_);  // closing releases the lock
}
