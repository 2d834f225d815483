// Any level file the game accepts dumps to text that compiles back to the same bytes.
#include <cstdlib>
#include <string>

#include "entities/prototypes.h"
#include "fuzz_support.h"
#include "world/level_text.h"
#include "world/world.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  initLibraryForFuzzing();
  std::string bytes(reinterpret_cast<const char*>(data), size);
  Result<std::string> dumped = dumpLevelText(bytes, levelKinds());
  if (!dumped.ok()) {
    World world;
    if (readLevel(fuzzFileWith(data, size).c_str(), world).ok()) std::abort();
    world.flush();
    return 0;
  }
  Result<std::string> again = compileLevelText(dumped.value(), levelKinds());
  if (!again.ok() || again.value() != bytes) std::abort();
  return 0;
}
