#include "app/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

constexpr int kMaximumLinks = 40;                // as many as the kernel follows before ELOOP
constexpr size_t kMaximumReadBytes = 64u << 20;  // far beyond any level, script or record

FileResult failure(const std::string& reason) { return FileResult{false, reason}; }
FileResult failureFromErrno() { return failure(std::strerror(errno)); }
FileResult unopened(const std::string& reason) { return FileResult{false, reason, false}; }

std::string directoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The path a write through `path` really lands on: links followed, relative targets taken
// from the link's own directory. A missing final target is fine (it will be created).
FileResult resolveLinks(const std::string& path, std::string& target) {
  target = path;
  for (int hop = 0; hop < kMaximumLinks; ++hop) {
    char buffer[PATH_MAX];
    ssize_t length = readlink(target.c_str(), buffer, sizeof buffer);
    if (length < 0) return errno == EINVAL || errno == ENOENT ? FileResult{} : failureFromErrno();
    std::string next(buffer, static_cast<size_t>(length));
    target = next[0] == '/' ? next : directoryOf(target) + "/" + next;
  }
  return failure(std::strerror(ELOOP));
}

bool writeAll(int descriptor, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

FileResult syncDirectory(const std::string& directory) {
  int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return failureFromErrno();
  bool synced = fsync(descriptor) == 0 || errno == EINVAL;  // some file systems cannot
  int error = errno;
  close(descriptor);
  if (!synced) return failure(std::strerror(error));
  return {};
}

// Writes the temporary file whole and synced; leaves nothing behind on failure. Its name is
// fixed, so a writer killed half-way leaves one stale file that the next save reuses.
FileResult writeTemporary(const std::string& temporary, mode_t mode, const std::string& bytes) {
  int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (descriptor < 0) return unopened(std::strerror(errno));
  bool written = fchmod(descriptor, mode) == 0 && writeAll(descriptor, bytes) && fsync(descriptor) == 0;
  int error = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written) return {};
  unlink(temporary.c_str());
  return failure(std::strerror(error));
}

// Pipes are welcome (a script from process substitution); directories are not, and an
// endless device is cut off rather than read until memory runs out.
FileResult readAll(int descriptor, std::string& bytes) {
  struct stat status {};
  if (fstat(descriptor, &status) != 0) return failureFromErrno();
  if (S_ISDIR(status.st_mode)) return failure(std::strerror(EISDIR));
  char buffer[65536];
  for (;;) {
    ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return failureFromErrno();
    if (count == 0) return {};
    if (bytes.size() + static_cast<size_t>(count) > kMaximumReadBytes) return failure(std::strerror(EFBIG));
    bytes.append(buffer, static_cast<size_t>(count));
  }
}

}  // namespace

FileResult readWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return failureFromErrno();
  FileResult result = readAll(descriptor, bytes);
  close(descriptor);
  if (!result.ok) bytes.clear();
  return result;
}

FileResult replaceFile(const std::string& path, const std::string& bytes) {
  std::string target;
  FileResult resolved = resolveLinks(path, target);
  if (!resolved.ok) return unopened(resolved.reason);
  mode_t mode = 0666;
  struct stat status {};
  if (lstat(target.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) return unopened("not a regular file");
    mode = status.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode &= ~mask;
  }
  std::string temporary = target + ".tmp";
  FileResult written = writeTemporary(temporary, mode, bytes);
  if (!written.ok) return written;
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    int error = errno;
    unlink(temporary.c_str());
    return failure(std::strerror(error));
  }
  return syncDirectory(directoryOf(target));
}
