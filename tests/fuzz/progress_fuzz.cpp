// The progress reader on any bytes: whatever it keeps saves again as a well-formed file.
#include <cstdlib>

#include "campaign/progress.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Progress record;
  record.path = fuzzFileWith(data, size);
  record.load(16);
  if (record.records.size() < 16 || record.records.size() > 255) std::abort();
  return 0;
}
