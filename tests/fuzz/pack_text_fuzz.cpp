// The pack.txt reader on any bytes: whatever it keeps lies within the limits it promises, and a
// kept level is listed once.
#include <cstdlib>
#include <set>
#include <string>

#include "campaign/pack_text.h"

namespace {

void requireText(const std::string& text, size_t longest) {
  if (characterCount(text) > longest || invalidUtf8At(text) != std::string::npos) std::abort();
  for (unsigned char byte : text) {
    if (byte < 0x20 || byte == 0x7F) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PackText pack = parsePackText(std::string(reinterpret_cast<const char*>(data), size));
  requireText(pack.name, kPackNameCharacters);
  requireText(pack.author, kAuthorCharacters);
  requireText(pack.description, kDescriptionCharacters);
  std::set<int> numbers;
  for (const PackLevel& level : pack.levels) {
    if (level.number < 1 || level.number > kMaximumLevels || !numbers.insert(level.number).second) std::abort();
    if (!(level.target > 0.0 && level.target < kLongestTarget)) std::abort();
    requireText(level.name, kLevelNameCharacters);
  }
  if (pack.problems.empty() && (pack.name.empty() || numbers.empty())) std::abort();
  return 0;
}
