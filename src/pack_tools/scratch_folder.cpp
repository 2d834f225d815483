#include "pack_tools/scratch_folder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr size_t kLongestPath = 4096;  // bytes, with the closing NUL
constexpr int kDeepestNesting = 4;     // a pack's copy is two folders deep
constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What the signal handler may read: fixed storage, written only with the signals blocked.
char heldPaths[ScratchFolder::kMostScratchFolders][kLongestPath];
volatile sig_atomic_t held[ScratchFolder::kMostScratchFolders];

struct LinuxDirent64 {
  ino64_t inode;
  off64_t offset;
  unsigned short length;
  // cppcheck-suppress unusedStructMember ; the kernel's record layout, read only for its name
  unsigned char type;
  char name[];
};

bool isDotOrDotDot(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }

void emptyFolder(int folder, int depth);

// A file, or a folder emptied first (to a bounded depth); whether it is gone.
bool removeEntry(int folder, const char* name, int depth) {
  if (unlinkat(folder, name, 0) == 0) return true;
  if (depth >= kDeepestNesting) return false;
  int inner = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (inner < 0) return false;
  emptyFolder(inner, depth + 1);
  close(inner);
  return unlinkat(folder, name, AT_REMOVEDIR) == 0;
}

// Removes what the folder holds with async-signal-safe calls only: openat, getdents64, unlinkat.
// Each pass reads the folder from its start; it ends with a pass that removes nothing.
void emptyFolder(int folder, int depth) {
  alignas(LinuxDirent64) char buffer[4096];
  for (bool removed = true; removed;) {
    removed = false;
    lseek(folder, 0, SEEK_SET);
    long count;
    while ((count = syscall(SYS_getdents64, folder, buffer, sizeof buffer)) > 0) {
      for (long at = 0; at < count;) {
        auto* entry = reinterpret_cast<LinuxDirent64*>(buffer + at);
        at += entry->length;
        if (!isDotOrDotDot(entry->name)) removed = removeEntry(folder, entry->name, depth) || removed;
      }
    }
  }
}

void removeNow(const char* path) {
  int folder = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) return;
  emptyFolder(folder, 0);
  close(folder);
  rmdir(path);
}

void removeHeldAndEnd(int signalNumber) {
  for (int slot = 0; slot < ScratchFolder::kMostScratchFolders; ++slot) {
    if (held[slot]) removeNow(heldPaths[slot]);
  }
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

// Installed once, and only over the default action: a handler the program chose stays.
void installHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (int signalNumber : kCleanedSignals) {
    struct sigaction current {};
    if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = removeHeldAndEnd;
    sigfillset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
  }
}

// Runs `change` with the cleaned signals blocked, so the handler never sees half a change.
template <typename Change>
void withSignalsBlocked(Change change) {
  sigset_t blocked, previous;
  sigemptyset(&blocked);
  for (int signalNumber : kCleanedSignals) sigaddset(&blocked, signalNumber);
  sigprocmask(SIG_BLOCK, &blocked, &previous);
  change();
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& pattern) {
  if (pattern.size() >= kLongestPath) {
    made_ = fail(Failure::CannotWrite, std::strerror(ENAMETOOLONG), pattern);
    return;
  }
  installHandlers();
  withSignalsBlocked([&] {
    for (int slot = 0; slot < kMostScratchFolders && slot_ < 0; ++slot) {
      if (!held[slot]) slot_ = slot;
    }
    if (slot_ < 0) {
      made_ = fail(Failure::Refused, "too many temporary folders at once", pattern);
      return;
    }
    std::string name = pattern;
    if (!mkdtemp(name.data())) {
      made_ = fail(Failure::CannotWrite, std::strerror(errno), pattern);
      slot_ = -1;
      return;
    }
    path_ = name;
    std::memcpy(heldPaths[slot_], name.c_str(), name.size() + 1);
    held[slot_] = 1;
  });
}

ScratchFolder::~ScratchFolder() {
  if (slot_ < 0) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  withSignalsBlocked([&] { held[slot_] = 0; });
}

std::vector<std::string> temporaryFolders(const std::string& fallback) {
  std::vector<std::string> folders;
  const char* variable = std::getenv("TMPDIR");
  if (variable && variable[0] == '/') folders.emplace_back(variable);
  if (folders.empty() || fs::path(folders[0]).lexically_normal() != "/tmp") folders.emplace_back("/tmp");
  folders.push_back(fallback);
  return folders;
}
