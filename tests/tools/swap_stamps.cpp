// Preloaded into the game by scripts/measure-fps and scripts/measure-pacing: every buffer swap
// is counted and the moment it returned (the frame is on screen) stamped, into the file named
// by $SWAP_STAMP_FILE, which the script reads while the game runs:
//   count (8 bytes), then a ring of kStamps stamps (8 bytes each, monotonic nanoseconds);
//   swap number i is stamped at slot i % kStamps.
// All numbers are in the machine's byte order. Built by the scripts with the system compiler.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr uint64_t kStamps = 1 << 16;  // 18 minutes of frames at 60 per second

struct SwapLog {
  volatile uint64_t count;
  volatile uint64_t stamps[kStamps];
};

using SwapFunction = void (*)(void*, unsigned long);

// Null when the file cannot be opened: the game then runs uncounted.
SwapLog* openLog() {
  const char* path = std::getenv("SWAP_STAMP_FILE");
  int file = path ? open(path, O_RDWR) : -1;
  if (file < 0) return nullptr;
  void* shared = MAP_FAILED;
  if (ftruncate(file, sizeof(SwapLog)) == 0) {
    shared = mmap(nullptr, sizeof(SwapLog), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
  }
  close(file);
  return shared == MAP_FAILED ? nullptr : static_cast<SwapLog*>(shared);
}

uint64_t nanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

}  // namespace

extern "C" void glXSwapBuffers(void* display, unsigned long drawable) {
  static const SwapFunction swap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  static SwapLog* const log = openLog();
  swap(display, drawable);
  if (!log) return;
  uint64_t count = log->count;
  log->stamps[count % kStamps] = nanoseconds();
  log->count = count + 1;
}
