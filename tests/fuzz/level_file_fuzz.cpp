// The level loader on any bytes: it accepts or refuses, and never reads out of bounds.
#include "entities/prototypes.h"
#include "fuzz_support.h"
#include "world/world.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  initLibraryForFuzzing();
  World world;
  readLevel(fuzzFileWith(data, size).c_str(), world);
  world.flush();
  return 0;
}
