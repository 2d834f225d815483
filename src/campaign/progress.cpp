#include "campaign/progress.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/safe_file.h"
#include "world/world.h"

namespace {

constexpr double kTargetTimeBeyondTable = 100.0;  // s, as generous as the last levels of the table
constexpr double kTargetTimes[] = {15.0, 21.0, 13.5, 12.5, 20.0, 29.0, 10.6,  21.5,
                                   16.1, 19.8, 33.0, 27.0, 41.0, 18.0, 100.0, 100.0};  // s
constexpr int kTargetTimeCount = sizeof(kTargetTimes) / sizeof(kTargetTimes[0]);
constexpr int kOpenFromStart = 3;          // levels unlocked in a fresh record set
constexpr int kLevelsOpenedAhead = 3;      // completing k levels opens indexes k .. k + 2
constexpr unsigned kMaximumRecords = 255;  // the record count is one byte
constexpr int kHeaderBytes = 5;
constexpr int kRecordBytes = 12;
constexpr size_t kLargestFileBytes = kHeaderBytes + kRecordBytes * kMaximumRecords;
const char* const kNotSaved = "Progress will not be saved in this run; the file is left as it is.";

std::int32_t int32From(const unsigned char* bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | bytes[i];
  return static_cast<std::int32_t>(value);
}

double doubleFrom(const unsigned char* bytes) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | bytes[i];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void putInt32(std::uint32_t value, unsigned char* bytes) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

void putDouble(double value, unsigned char* bytes) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}

LevelRecord freshRecord(size_t index) {
  LevelRecord record;
  record.unlocked = index < static_cast<size_t>(kOpenFromStart);
  return record;
}

bool isFlag(unsigned char byte) { return byte == 0 || byte == 1; }

// A record is trusted only when every flag is 0 or 1 and the best time is a real duration.
bool recordFrom(const unsigned char* bytes, LevelRecord& record) {
  double bestTime = doubleFrom(bytes + 4);
  if (!isFlag(bytes[0]) || !isFlag(bytes[1]) || !isFlag(bytes[2]) || !isFlag(bytes[3])) return false;
  if (!std::isfinite(bestTime) || bestTime <= 0.0) return false;
  record = LevelRecord{bytes[0] == 1, bytes[1] == 1, bytes[2] == 1, bytes[3] == 1, bestTime};
  return true;
}

}  // namespace

Progress& progress() {
  static Progress theProgress;
  return theProgress;
}

// File layout, little-endian, no header or checksum:
//   offset 0       4 bytes  deaths, signed 32-bit, never negative
//   offset 4       1 byte   record count n; the file is exactly 5 + 12n bytes long
//   offset 5 + 12i 1 byte   unlocked, completed, golden, silver (0 or 1), one byte each
//   offset 9 + 12i 8 bytes  best time, IEEE 754 double, finite and positive
// A file that breaks any of these is damaged: it is set aside before anything overwrites it,
// and of it only the death count (when not negative) and the valid whole records are kept.
void Progress::load(int count) {
  loaded = true;
  deaths = 0;
  records.clear();
  damageNote.clear();
  refusal.clear();
  setAsideBytes.clear();
  FileResult read = updateFile(path, kLargestFileBytes, [this](const FoundFile& found) { return takeStored(found); });
  if (!read.ok) {
    tell({format("The progress file '%s' cannot be read: %s.", path.c_str(), read.reason.c_str())});
    refuseSaving(read.reason);
  }
  ensureRecords(count);
  if (!damageNote.empty()) openAhead();
  deathsInFile = deaths;
  assisted.path = assistMarksPath(path);
  tell(assisted.load());
}

// Runs under the file's lock, so no other game saves between the read and the copy.
Merged Progress::takeStored(const FoundFile& found) {
  if (found.exists && !readRecords(found.bytes)) {
    FileResult copied = setAside(found.bytes);
    if (!copied.ok) refuseSaving(copied.reason);
    setAsideBytes = found.bytes;
  }
  return Merged::keep();
}

// Reads every whole record present, whatever the count byte says, and tells whether the file
// was sound. Records after the last valid one are a damaged tail, not levels, and are dropped.
bool Progress::readRecords(const std::string& file) {
  if (file.size() < static_cast<size_t>(kHeaderBytes)) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
  bool sound = file.size() == kHeaderBytes + kRecordBytes * static_cast<size_t>(bytes[4]);
  std::int32_t storedDeaths = int32From(bytes);
  if (storedDeaths >= 0) deaths = storedDeaths;
  sound = sound && storedDeaths >= 0;
  size_t whole = std::min<size_t>((file.size() - kHeaderBytes) / kRecordBytes, kMaximumRecords);
  size_t trusted = 0;
  for (size_t i = 0; i < whole; ++i) {
    LevelRecord record = freshRecord(i);
    if (recordFrom(bytes + kHeaderBytes + kRecordBytes * i, record)) {
      trusted = i + 1;
    } else {
      sound = false;
    }
    records.push_back(record);
  }
  records.resize(trusted);
  return sound;
}

// A file too large to have been read whole gets a second name instead of a copy of what was
// read. A damaged file that cannot be set aside is never replaced. Runs under the file's lock,
// so two games never choose the same free name.
FileResult Progress::setAside(const std::string& bytes) {
  FileResult copied = keepDamagedCopy(path, bytes, kLargestFileBytes);
  tell({format("The progress file '%s' was damaged; what could be trusted in it was kept.", path.c_str()),
        damagedCopyLine(copied)});
  return copied;
}

void Progress::refuseSaving(const std::string& reason) {
  refusal = reason;
  tell({kNotSaved});
}

void Progress::tell(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    damageNote.push_back(line);
    std::printf("%s\n", line.c_str());
  }
  std::fflush(stdout);
}

void Progress::ensureRecords(int count) {
  levelCount = count < 0 ? 0 : count;
  while (records.size() < static_cast<size_t>(levelCount)) {
    records.push_back(freshRecord(records.size()));
  }
}

std::vector<unsigned char> Progress::fileBytes() const {
  size_t count = records.size() < kMaximumRecords ? records.size() : kMaximumRecords;
  std::vector<unsigned char> bytes(kHeaderBytes + kRecordBytes * count);
  putInt32(static_cast<std::uint32_t>(deaths), bytes.data());
  bytes[4] = static_cast<unsigned char>(count);
  for (size_t i = 0; i < count; ++i) {
    unsigned char* out = bytes.data() + kHeaderBytes + kRecordBytes * i;
    out[0] = records[i].unlocked;
    out[1] = records[i].completed;
    out[2] = records[i].golden;
    out[3] = records[i].silver;
    putDouble(records[i].bestTime, out + 4);
  }
  return bytes;
}

// The new content replaces the old file only once it is whole and on disk, so a crash or a
// full disk never leaves a half-written record behind. What another game saved meanwhile is
// merged in, and this record takes the merged result, so both games go on from it.
FileResult Progress::save() {
  assisted.save();
  if (!refusal.empty()) return fileFailure(path, refusal);
  Progress merged;
  FileResult written =
      updateFile(path, kLargestFileBytes, [&](const FoundFile& found) { return mergeWithStored(found, merged); });
  if (!written.ok) {
    std::printf("%s\n", failedSaveLine("progress", written).c_str());
    std::fflush(stdout);
    return written;
  }
  records = std::move(merged.records);
  deaths = merged.deaths;
  deathsInFile = deaths;
  return written;
}

Merged Progress::mergeWithStored(const FoundFile& found, Progress& merged) const {
  Progress stored;
  stored.path = path;
  bool setAsideAtLoad = found.exists && found.bytes == setAsideBytes;
  if (found.exists && !stored.readRecords(found.bytes) && !setAsideAtLoad) {
    FileResult copied = stored.setAside(found.bytes);
    if (!copied.ok)
      return Merged::refuse("the damaged file could not be copied to '" + copied.path + "': " + copied.reason);
  }
  merged = *this;
  merged.takeBest(stored);
  std::vector<unsigned char> bytes = merged.fileBytes();
  return Merged::write(std::string(bytes.begin(), bytes.end()));
}

// The merge rule: a flag set on either side stays set, the best time is the smaller, records
// only one side has are kept, and the deaths are the file's count plus the deaths this record
// added since it last met the file; never fewer than this record counts, so a file that went
// back to an older copy loses nothing either.
void Progress::takeBest(const Progress& stored) {
  for (size_t i = 0; i < stored.records.size(); ++i) {
    const LevelRecord& theirs = stored.records[i];
    if (i == records.size()) records.push_back(theirs);
    LevelRecord& ours = records[i];
    ours.unlocked = ours.unlocked || theirs.unlocked;
    ours.completed = ours.completed || theirs.completed;
    ours.golden = ours.golden || theirs.golden;
    ours.silver = ours.silver || theirs.silver;
    ours.bestTime = std::min(ours.bestTime, theirs.bestTime);
  }
  std::int64_t ownDeaths = std::max<std::int64_t>(0, std::int64_t{deaths} - deathsInFile);
  std::int64_t total = std::max<std::int64_t>(stored.deaths + ownDeaths, deaths);
  deaths = static_cast<std::int32_t>(std::min<std::int64_t>(total, INT32_MAX));
  openAhead();
}

FileResult Progress::keep() {
  if (!loaded || !refusal.empty()) return FileResult{true, path, ""};
  return save();
}

void Progress::recordCompletion(int levelIndex, bool allGarbage, double elapsed, bool withAssists) {
  if (levelIndex < 0 || static_cast<size_t>(levelIndex) >= records.size()) return;
  LevelRecord& record = records[levelIndex];
  assisted.recordCompletion(levelIndex, record, allGarbage, withAssists);
  record.completed = true;
  record.golden = record.golden || allGarbage;
  bool timed = allGarbage && !withAssists;
  record.silver = record.silver || (timed && elapsed < targetTime(levelIndex));
  if (timed && record.bestTime > elapsed) record.bestTime = elapsed;
  openAhead();
}

void Progress::openAhead() {
  size_t completed = completedCount();
  for (size_t i = completed; i < completed + kLevelsOpenedAhead && i < records.size(); ++i) {
    records[i].unlocked = true;
  }
}

// Completing k levels opens the indexes k .. k + 2 (openAhead).
int Progress::completionsToOpen(int levelIndex) const {
  if (records.at(levelIndex).unlocked) return 0;
  return std::max(1, levelIndex - kLevelsOpenedAhead + 1 - static_cast<int>(completedCount()));
}

std::vector<int> Progress::levelsToOpen(int levelIndex) const {
  std::vector<int> open;
  int needed = completionsToOpen(levelIndex);
  for (int i = 0; i < static_cast<int>(records.size()) && static_cast<int>(open.size()) < needed; ++i) {
    if (records[i].unlocked && !records[i].completed) open.push_back(i);
  }
  return open;
}

double Progress::targetTime(int levelIndex) const {
  if (!targets.empty()) {
    if (levelIndex < 0 || static_cast<size_t>(levelIndex) >= targets.size()) return kTargetTimeBeyondTable;
    return targets[levelIndex];
  }
  if (levelIndex < 0 || levelIndex >= kTargetTimeCount) return kTargetTimeBeyondTable;
  return kTargetTimes[levelIndex];
}
