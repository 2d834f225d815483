#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/result.h"
#include "campaign/campaign.h"

// A pack's files in memory, by their names inside the pack ("pack.txt", "3.lv", "src/3.txt").
using PackFiles = std::map<std::string, std::string>;

// What a pack handed to us may hold. 24 levels with their solutions, sources and proofs,
// pack.txt, winner.lv and the three folders make 101 entries.
constexpr int kMaximumPackEntries = 128;
constexpr uint64_t kMaximumEntryBytes = kLevelFileBytes;
constexpr uint64_t kMaximumPackBytes = 16u << 20;

// A pack read from a folder or an archive: its files and the name of its folder. A pack refused
// gives instead the one reason, naming the entry at fault. Nothing is written while reading.
struct PackRead {
  PackFiles files;
  std::string folderName;
};

enum class EntryType { File, Folder, Link, Device, Other };

// Takes a pack's entries one by one, as a folder or an archive lists them, and refuses the
// first that does not belong in a pack:
//   an absolute path, a ".." component, a backslash or ':' in a name, a link, a device or other special file, more than
//   kMaximumPackEntries entries, a file larger than kMaximumEntryBytes (declared or read), more
//   than kMaximumPackBytes in all, a name given twice, and, once all are in, a name that is not
//   pack.txt, 1.lv to 24.lv, winner.lv, a text file in solutions/ or src/, or a replay
//   proofs/1.rpl to proofs/24.rpl.
// When every entry lies in one top folder, that folder is the pack's; otherwise the pack's
// folder is named by the caller (an archive's own name).
class PackCollector {
 public:
  // Before an entry's bytes. declaredBytes < 0: not declared. Once refused, every call gives the
  // first refusal.
  Result<> admit(const std::string& entryName, EntryType type, int64_t declaredBytes);
  // The bytes of the file admitted last, as far as they are read; refused when they pass the
  // limits (the caller stops reading).
  Result<> addBytes(const char* bytes, size_t count);
  // After the last entry.
  Result<PackRead> finish(const std::string& folderNameIfLoose);

 private:
  struct Entry {
    std::string shownName;  // as the archive or folder gives it
    std::vector<std::string> parts;
    bool folder;
    std::string bytes;
  };

  Problem refuse(Failure kind, const std::string& reason);
  Result<> allInTheTopFolder() const;

  std::vector<Entry> entries_;
  uint64_t totalBytes_ = 0;
  std::optional<Problem> refusal_;
};

// Reads a pack folder as an installer sees it: only what a pack may hold, links and special
// files refused, never followed.
Result<PackRead> readPackFolder(const std::string& folder);

// Writes the files into the folder (which must exist), creating its folders as needed;
// each file through the safe writer.
Result<> writePackFiles(const std::string& folder, const PackFiles& files);
