#include "app/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "app/file_lock.h"

namespace {

constexpr int kMaximumLinks = 40;          // as many as the kernel follows before ELOOP
constexpr std::size_t kReadChunk = 65536;  // bytes
const char* const kNotRegular = "not a regular file";
const char* const kTemporarySuffix = ".tmp";
const char* const kRandomPart = "XXXXXX";  // filled in by mkostemps

// The failures below name no path; the public functions name the one they were given.
Problem failure(Failure kind, const std::string& reason) { return fail(kind, reason); }
Problem failureFromErrno(Failure kind) { return fail(errno == ENOENT ? Failure::Missing : kind, std::strerror(errno)); }
Problem unopened(const std::string& reason) { return fail(Failure::CannotOpen, reason); }
Result<> about(const std::string& path, Result<> result) {
  if (result.ok()) return result;
  Problem failed = result.problem();
  failed.file = path;
  return failed;
}
template <typename T>
Result<T> about(const std::string& path, Problem failed) {
  failed.file = path;
  return failed;
}

std::string directoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path a write through `path` really lands on: links followed, relative targets taken
// from the link's own directory. A missing final target is fine (it will be created).
Result<> resolveLinks(const std::string& path, std::string& target) {
  target = path;
  for (int hop = 0; hop < kMaximumLinks; ++hop) {
    char buffer[PATH_MAX];
    ssize_t length = readlink(target.c_str(), buffer, sizeof buffer);
    if (length < 0) return errno == EINVAL || errno == ENOENT ? Result<>() : failureFromErrno(Failure::CannotOpen);
    std::string next(buffer, static_cast<size_t>(length));
    target = next[0] == '/' ? next : directoryOf(target) + "/" + next;
  }
  return failure(Failure::CannotOpen, std::strerror(ELOOP));
}

// Whether a file of this mode can be read as data, or why not.
Result<> checkReadableKind(mode_t mode, Readable accepted) {
  if (S_ISREG(mode) || (S_ISFIFO(mode) && accepted == Readable::RegularFileOrPipe)) return {};
  return failure(Failure::NotAFile, S_ISDIR(mode) ? std::strerror(EISDIR) : kNotRegular);
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

Result<> syncDirectory(const std::string& directory) {
  int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return failureFromErrno(Failure::CannotWrite);
  bool synced = fsync(descriptor) == 0 || errno == EINVAL;  // some file systems cannot
  int error = errno;
  close(descriptor);
  if (!synced) return failure(Failure::CannotWrite, std::strerror(error));
  return {};
}

// Temporary names are "<file>.<pid>-<random>.tmp": the process id tells whose it is, the
// random part keeps two writers apart even where process ids repeat (containers).
bool isTemporaryOf(const std::string& name, const std::string& file, pid_t& writer) {
  const std::string prefix = file + ".";
  const size_t suffix = std::strlen(kTemporarySuffix);
  if (name.size() <= prefix.size() + suffix || name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.compare(name.size() - suffix, suffix, kTemporarySuffix) != 0) return false;
  char* end = nullptr;
  long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
  writer = static_cast<pid_t>(pid);
  return pid > 0 && *end == '-';
}

// A writer killed half-way leaves its temporary file; once its process is gone, no one will
// rename it, so the next successful writer of the same file removes it.
void removeStaleTemporaries(const std::string& target) {
  const std::string directory = directoryOf(target), file = nameOf(target);
  DIR* listing = opendir(directory.c_str());
  if (!listing) return;
  while (dirent* entry = readdir(listing)) {
    pid_t writer = 0;
    if (!isTemporaryOf(entry->d_name, file, writer) || writer == getpid()) continue;
    if (kill(writer, 0) != 0 && errno == ESRCH) unlinkat(dirfd(listing), entry->d_name, 0);
  }
  closedir(listing);
}

// Writes the temporary file whole and synced; leaves nothing behind on failure.
Result<> writeTemporary(const std::string& target, mode_t mode, const std::string& bytes, std::string& temporary) {
  std::string pattern = target + "." + std::to_string(getpid()) + "-" + kRandomPart + kTemporarySuffix;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int descriptor = mkostemps(name.data(), static_cast<int>(std::strlen(kTemporarySuffix)), O_CLOEXEC);
  if (descriptor < 0) return unopened(std::strerror(errno));
  temporary = name.data();
  bool written = fchmod(descriptor, mode) == 0 && writeAll(descriptor, bytes) && fsync(descriptor) == 0;
  int error = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written) return {};
  unlink(temporary.c_str());
  return failure(Failure::CannotWrite, std::strerror(error));
}

// The mode a replacement gets: the old file's, or the default for a new one.
Result<> modeFor(const std::string& target, mode_t& mode) {
  struct stat status {};
  if (lstat(target.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) return unopened(S_ISDIR(status.st_mode) ? std::strerror(EISDIR) : kNotRegular);
    mode = status.st_mode & 07777;
    return {};
  }
  mode_t mask = umask(0);
  umask(mask);
  mode = 0666 & ~mask;
  return {};
}

// replaceFile once the links are followed.
Result<> replaceTarget(const std::string& target, const std::string& bytes) {
  mode_t mode = 0;
  Result<> usable = modeFor(target, mode);
  if (!usable.ok()) return usable;
  std::string temporary;
  Result<> written = writeTemporary(target, mode, bytes, temporary);
  if (!written.ok()) return written;
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    int error = errno;
    unlink(temporary.c_str());
    return failure(Failure::CannotWrite, std::strerror(error));
  }
  removeStaleTemporaries(target);
  return syncDirectory(directoryOf(target));
}

Result<> readUpTo(int descriptor, std::string& bytes, size_t limit) {
  char buffer[kReadChunk];
  while (bytes.size() < limit) {
    ssize_t count = read(descriptor, buffer, std::min(sizeof buffer, limit - bytes.size()));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return failureFromErrno(Failure::CannotRead);
    if (count == 0) break;
    bytes.append(buffer, static_cast<size_t>(count));
  }
  return {};
}

}  // namespace

std::string failedSaveLine(const std::string& what, const Problem& failed) {
  return "Unable to save " + what + " to '" + failed.file + "': " + failed.message + ".";
}

// Looking before opening spares a device the open itself; the second look, at what was
// opened, closes the gap in which the file could have been swapped.
Result<int> openForReading(const std::string& path, Readable accepted) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return about<int>(path, failureFromErrno(Failure::CannotOpen));
  Result<> readable = checkReadableKind(status.st_mode, accepted);
  if (!readable.ok()) return about<int>(path, readable.problem());
  int opened = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (opened < 0) return about<int>(path, failureFromErrno(Failure::CannotOpen));
  std::optional<Problem> refused;
  if (fstat(opened, &status) != 0) {
    refused = failureFromErrno(Failure::CannotOpen);
  } else if (!(readable = checkReadableKind(status.st_mode, accepted)).ok()) {
    refused = readable.problem();
  }
  int flags = fcntl(opened, F_GETFL);
  if (!refused && (flags < 0 || fcntl(opened, F_SETFL, flags & ~O_NONBLOCK) != 0))
    refused = failureFromErrno(Failure::CannotOpen);
  if (refused) {
    close(opened);
    return about<int>(path, *refused);
  }
  return opened;
}

Result<std::string> readFileStart(const std::string& path, size_t limit, Readable accepted) {
  Result<int> opened = openForReading(path, accepted);
  if (!opened.ok()) return opened.problem();
  std::string bytes;
  Result<> read = readUpTo(opened.value(), bytes, limit);
  close(opened.value());
  if (!read.ok()) return about<std::string>(path, read.problem());
  return bytes;
}

Result<std::string> readWholeFile(const std::string& path, size_t limit, Readable accepted) {
  Result<std::string> read = readFileStart(path, limit + 1, accepted);
  if (read.ok() && read.value().size() > limit)
    return about<std::string>(path, failure(Failure::TooLarge, std::strerror(EFBIG)));
  return read;
}

std::string readProblem(const Problem& failed, size_t limit) {
  if (failed.kind == Failure::TooLarge) return "larger than " + std::to_string(limit) + " bytes";
  return "cannot read: " + failed.message;
}

bool isRegularFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

Result<> replaceFile(const std::string& path, const std::string& bytes) {
  std::string target;
  Result<> resolved = resolveLinks(path, target);
  if (!resolved.ok()) return about(path, unopened(resolved.problem().message));
  return about(path, replaceTarget(target, bytes));
}

// A link made under a temporary name and renamed into place, so `to` is never missing for long
// and never half made.
std::optional<std::string> otherFileKind(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) return std::nullopt;
  if (S_ISDIR(status.st_mode)) return "a folder";
  if (S_ISFIFO(status.st_mode)) return "a named pipe";
  if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return "a device";
  return "a socket";
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

Result<> linkFile(const std::string& from, const std::string& to) {
  std::string temporary = to + "." + std::to_string(getpid()) + "-link" + kTemporarySuffix;
  unlink(temporary.c_str());
  if (linkat(AT_FDCWD, from.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    return about(to, unopened(std::strerror(errno)));
  }
  int renamed = rename(temporary.c_str(), to.c_str());
  int error = errno;
  // Renaming one name of a file over another name of the same file does nothing at all.
  unlink(temporary.c_str());
  if (renamed != 0) return about(to, failure(Failure::CannotWrite, std::strerror(error)));
  return about(to, syncDirectory(directoryOf(to)));
}

Result<> updateFile(const std::string& path, size_t limit, const std::function<Merged(const FoundFile&)>& merge) {
  std::string target;
  Result<> resolved = resolveLinks(path, target);
  if (!resolved.ok()) return about(path, unopened(resolved.problem().message));
  // Checked before locking, so no lock file is made beside a device or inside a directory.
  mode_t mode = 0;
  Result<> usable = modeFor(target, mode);
  if (!usable.ok()) return about(path, usable);
  FileLock lock(target + ".lock");
  FoundFile found;
  Result<std::string> read = readFileStart(target, limit + 1);
  if (!read.ok() && read.kind() != Failure::Missing) return about(path, unopened(read.problem().message));
  found.exists = read.ok();
  if (read.ok()) found.bytes = std::move(read.value());
  Merged merged = merge(found);
  if (merged.action == Merged::Action::Keep) return {};
  if (merged.action == Merged::Action::Refuse) return about(path, failure(Failure::Refused, merged.reason));
  if (!lock.held()) return about(path, unopened(lock.failure()));
  return about(path, replaceTarget(target, merged.bytes));
}

namespace {

constexpr int kMostDamagedCopies = 10;  // <path>.bad, .bad.1 ... .bad.9

// The copy's name, "" when all are taken; `alreadyThere` when one holds the bytes already.
std::string damagedCopyName(const std::string& path, const std::string& bytes, std::size_t limit, bool& alreadyThere) {
  std::string firstFree;
  for (int number = 0; number < kMostDamagedCopies; ++number) {
    std::string name = path + ".bad" + (number == 0 ? "" : "." + std::to_string(number));
    struct stat status {};
    if (lstat(name.c_str(), &status) != 0) {
      if (firstFree.empty() && errno == ENOENT) firstFree = name;
      continue;
    }
    auto holds = [&] {
      Result<std::string> held = readWholeFile(name, limit);
      return held.ok() && held.value() == bytes;
    };
    alreadyThere = sameFile(path, name) || (bytes.size() <= limit && holds());
    if (alreadyThere) return name;
  }
  return firstFree;
}

}  // namespace

Result<std::string> keepDamagedCopy(const std::string& path, const std::string& bytes, std::size_t limit) {
  bool alreadyThere = false;
  std::string copy = damagedCopyName(path, bytes, limit, alreadyThere);
  if (alreadyThere) return copy;
  if (copy.empty()) {
    return fail(Failure::Refused,
                std::to_string(kMostDamagedCopies) + " damaged copies are kept already; remove some of them",
                path + ".bad");
  }
  Result<> copied = bytes.size() > limit ? linkFile(path, copy) : replaceFile(copy, bytes);
  if (copied.ok()) return copy;
  return about<std::string>(copy, copied.problem());
}

std::string damagedCopyLine(const Result<std::string>& copied) {
  if (copied.ok()) return "A copy of the damaged file is in '" + copied.value() + "'.";
  const Problem& failed = copied.problem();
  return "The damaged file could not be copied to '" + failed.file + "': " + failed.message + ".";
}
