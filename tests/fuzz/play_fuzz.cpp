// A fuzzed level played for a few hundred frames with fuzzed keys: the first bytes choose the
// keys of each frame, the rest is the level file.
#include <allegro5/allegro.h>

#include <vector>

#include "campaign/progress.h"
#include "entities/prototypes.h"
#include "fuzz_support.h"
#include "sim/simulator.h"
#include "world/world.h"

namespace {

constexpr size_t kFrames = 300;
constexpr size_t kKeyBytes = kFrames / 4;  // a key byte lasts four frames
constexpr double kFrameTime = 0.017;       // s

std::vector<int> keysOf(uint8_t bits) {
  static const int codes[] = {ALLEGRO_KEY_LEFT, ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_UP,
                              ALLEGRO_KEY_DOWN, ALLEGRO_KEY_Z,     ALLEGRO_KEY_X};
  std::vector<int> held;
  for (int bit = 0; bit < 6; ++bit) {
    if (bits & (1 << bit)) held.push_back(codes[bit]);
  }
  return held;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kKeyBytes) return 0;
  initLibraryForFuzzing();
  const std::string& level = fuzzFileWith(data + kKeyBytes, size - kKeyBytes);
  {
    // Only levels the loader accepts reach the play state; the menu refuses the others.
    World check;
    bool accepted = readLevel(level.c_str(), check).ok();
    check.flush();
    if (!accepted) return 0;
  }
  progress().records.clear();
  progress().ensureRecords(1);
  Simulator simulator(level.c_str(), 0);
  for (size_t frame = 0; frame < kFrames; ++frame) simulator.step(keysOf(data[frame / 4]), kFrameTime);
  return 0;
}
