// The level text compiler on any text; what it compiles must dump again.
#include <cstdlib>
#include <string>

#include "world/level_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LevelTextResult compiled = compileLevelText(std::string(reinterpret_cast<const char*>(data), size));
  if (compiled.ok && !dumpLevelText(compiled.output).ok) std::abort();
  return 0;
}
