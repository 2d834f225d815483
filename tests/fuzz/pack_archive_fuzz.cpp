// The pack archive reader on any bytes: it refuses or gives a pack within the limits, every
// name one a pack may hold, never a path that leaves the pack's folder.
#include <cstdlib>
#include <string>

#include "pack_tools/pack_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<PackRead> read = readPackArchive(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
  if (!read.ok()) return 0;
  if (!checkFolderName(read.value().folderName).ok()) std::abort();
  if (read.value().files.size() > static_cast<size_t>(kMaximumPackEntries)) std::abort();
  uint64_t total = 0;
  for (const auto& [name, bytes] : read.value().files) {
    if (name.empty() || name[0] == '/' || name.find("..") != std::string::npos) std::abort();
    if (bytes.size() > kMaximumEntryBytes) std::abort();
    total += bytes.size();
  }
  if (total > kMaximumPackBytes) std::abort();
  return 0;
}
