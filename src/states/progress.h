#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/play_context.h"

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
class Progress : public PlayerRecord {
 public:
  // Saturates: a player who has died two billion times keeps that count rather than wrapping
  // into a negative one, which the loader would take for damage.
  void countDeath() override {
    if (deaths < INT32_MAX) deaths += 1;
  }
  // Reads the file (a missing one gives a fresh record set), then appends records up to
  // levelCount. A damaged file is copied to "<path>.bad" first, keeps what can be trusted and
  // leaves the lines that tell the player so in damageNote.
  void load(int levelCount);
  // Writes a temporary file and renames it over the old one; on failure prints one line and
  // leaves the old file as it was. Returns whether the file was written.
  bool save() const;
  // Saves at once if the record was loaded from its file (the game's record), so that a crash
  // loses nothing that was reported on screen; a record built in memory stays in memory.
  void keep() const;
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
  bool loaded = false;
  std::vector<std::string> damageNote;

 private:
  bool readRecords(const std::string& file);
  void setAside(const std::string& bytes);
  void openAhead();
  std::vector<unsigned char> fileBytes() const;
};

Progress& progress();
