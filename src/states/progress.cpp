#include "states/progress.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/safe_file.h"

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

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

bool readBytes(FILE* file, unsigned char* bytes, int count) {
  return std::fread(bytes, 1, count, file) == static_cast<size_t>(count);
}

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

void reportShortFile(const std::string& path, FILE* file, size_t kept) {
  std::printf("Progress file '%s' is cut short at byte %ld; keeping its %zu whole level records.\n", path.c_str(),
              std::ftell(file), kept);
}

}  // namespace

Progress& progress() {
  static Progress theProgress;
  return theProgress;
}

// File layout, little-endian, no header or checksum:
//   offset 0       4 bytes  deaths, signed 32-bit
//   offset 4       1 byte   record count n
//   offset 5 + 12i 1 byte   unlocked, completed, golden, silver (non-zero is set), one byte each
//   offset 9 + 12i 8 bytes  best time, IEEE 754 double
// A file cut short keeps every whole record before the cut.
void Progress::load(int levelCount) {
  deaths = 0;
  records.clear();
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (file) readFile(file.get());
  ensureRecords(levelCount);
}

void Progress::readFile(FILE* file) {
  unsigned char header[kHeaderBytes];
  if (!readBytes(file, header, kHeaderBytes)) {
    reportShortFile(path, file, 0);
    return;
  }
  deaths = int32From(header);
  unsigned count = header[4];
  for (unsigned i = 0; i < count; ++i) {
    unsigned char bytes[kRecordBytes];
    if (!readBytes(file, bytes, kRecordBytes)) {
      reportShortFile(path, file, records.size());
      return;
    }
    LevelRecord record;
    record.unlocked = bytes[0] != 0;
    record.completed = bytes[1] != 0;
    record.golden = bytes[2] != 0;
    record.silver = bytes[3] != 0;
    record.bestTime = doubleFrom(bytes + 4);
    records.push_back(record);
  }
}

void Progress::ensureRecords(int levelCount) {
  while (records.size() < static_cast<size_t>(levelCount < 0 ? 0 : levelCount)) {
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
// full disk never leaves a half-written record behind.
bool Progress::save() const {
  std::vector<unsigned char> bytes = fileBytes();
  FileResult written = replaceFile(path, std::string(bytes.begin(), bytes.end()));
  if (written.ok) return true;
  std::printf("Unable to save progress to '%s': %s.\n", path.c_str(), written.reason.c_str());
  return false;
}

void Progress::recordCompletion(int levelIndex, bool allGarbage, double elapsed) {
  if (levelIndex < 0 || static_cast<size_t>(levelIndex) >= records.size()) return;
  LevelRecord& record = records[levelIndex];
  record.completed = true;
  record.golden = record.golden || allGarbage;
  record.silver = record.silver || (allGarbage && elapsed < targetTime(levelIndex));
  if (allGarbage && record.bestTime > elapsed) record.bestTime = elapsed;
  size_t completed = completedCount();
  for (size_t i = completed; i < completed + kLevelsOpenedAhead && i < records.size(); ++i) {
    records[i].unlocked = true;
  }
}

double Progress::targetTime(int levelIndex) const {
  if (levelIndex < 0 || levelIndex >= kTargetTimeCount) return kTargetTimeBeyondTable;
  return kTargetTimes[levelIndex];
}

unsigned Progress::unlockPoints() const {
  unsigned points = 0;
  for (const LevelRecord& record : records) points += record.completed + record.golden + record.silver;
  return points;
}

unsigned Progress::completedCount() const {
  unsigned count = 0;
  for (const LevelRecord& record : records) count += record.completed;
  return count;
}
