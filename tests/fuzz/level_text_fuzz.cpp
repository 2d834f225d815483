// The level text compiler on any text; what it compiles must dump again.
#include <cstdlib>
#include <string>

#include "entities/prototypes.h"
#include "world/level_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<std::string> compiled = compileLevelText(std::string(reinterpret_cast<const char*>(data), size), levelKinds());
  if (compiled.ok() && !dumpLevelText(compiled.value(), levelKinds()).ok()) std::abort();
  return 0;
}
