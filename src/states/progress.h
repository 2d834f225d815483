#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The best time of a level not yet completed with all its loose garbage.
constexpr double kNoBestTime = 999.0;  // s

// One level's progress.
struct LevelRecord {
  bool unlocked = false;
  bool completed = false;
  bool golden = false;
  bool silver = false;
  double bestTime = kNoBestTime;  // s
};

// The player's progress over all levels and the total deaths; one object for the program.
// The file "binhopper.dat" is little-endian: deaths (int32), record count (uint8), then per
// record four flag bytes and the best time as an IEEE 754 double.
class Progress {
 public:
  // Reads the file (a missing one gives a fresh record set), then appends records up to
  // levelCount. A file shorter than its count keeps the whole records it holds.
  void load(int levelCount);
  // Writes a temporary file and renames it over the old one; on failure prints one line and
  // leaves the old file as it was. Returns whether the file was written.
  bool save() const;
  void recordCompletion(int levelIndex, bool allGarbage, double elapsed);
  double targetTime(int levelIndex) const;
  // One point per record for each of completed, golden and silver.
  unsigned unlockPoints() const;
  unsigned maximumPoints() const;
  unsigned completedCount() const;
  // Appends fresh records (the first three unlocked) until there are levelCount of them.
  void ensureRecords(int levelCount);

  // The file the record lives in, relative to the working directory ("binhopper.dat").
  std::string path = "binhopper.dat";
  std::vector<LevelRecord> records;
  std::int32_t deaths = 0;

 private:
  void readFile(FILE* file);
  std::vector<unsigned char> fileBytes() const;
};

Progress& progress();
