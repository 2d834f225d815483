#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "campaign/level_tally.h"
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
  // Reads the file (a missing one gives a fresh record set), then makes it the record of a
  // campaign of `count` levels, as ensureRecords does. A damaged file is copied to "<path>.bad" first, keeps what can
  // be trusted and leaves the lines that tell the player so in damageNote.
  void load(int count);
  // Writes a temporary file and renames it over the old one; on failure prints one line and
  // leaves the old file as it was. Returns whether the file was written.
  bool save() const;
  // Saves at once if the record was loaded from its file (the game's record), so that a crash
  // loses nothing that was reported on screen; a record built in memory stays in memory.
  void keep() const;
  void recordCompletion(int levelIndex, bool allGarbage, double elapsed);
  double targetTime(int levelIndex) const;
  // Only the records of the campaign's levelCount levels count: a record beyond them (left by
  // a bigger set of levels) stays in the file but earns nothing and blocks nothing.
  LevelTally tally() const { return tallyLevels(records, levelCount); }
  // One point per level for each of completed, golden and silver.
  unsigned unlockPoints() const { return tally().points; }
  unsigned maximumPoints() const { return tally().maximumPoints; }
  unsigned completedCount() const { return tally().completed; }
  // The campaign has `count` levels: appends fresh records (the first three unlocked) until
  // there are as many.
  void ensureRecords(int count);

  // The file the record lives in, relative to the working directory ("binhopper.dat").
  std::string path = "binhopper.dat";
  // A pack's own target times (s) by level index, from its pack.txt; empty for the built-in
  // campaign, whose table is fixed.
  std::vector<double> targets;
  int levelCount = 0;  // the campaign's; records beyond it are kept but count for nothing
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
