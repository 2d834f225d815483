#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/safe_file.h"
#include "campaign/assist_marks.h"
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

// The player's progress over all levels and the total deaths, kept in one file. The game's own
// record is `progress()`; any other file of this format (a campaign's) is another object.
// The file "binhopper.dat" is little-endian: deaths (int32), record count (uint8), then per
// record four flag bytes and the best time as an IEEE 754 double.
class Progress final : public PlayerRecord {
 public:
  // Saturates: a player who has died two billion times keeps that count rather than wrapping
  // into a negative one, which the loader would take for damage.
  void countDeath() override {
    if (deaths < INT32_MAX) deaths += 1;
  }
  // Reads the file (a missing one gives a fresh record set) and the assist marks beside it, then makes it the record of
  // a campaign of `count` levels, as ensureRecords does. A damaged file is set aside as
  // "<path>.bad" first and what can be trusted in it kept. A file that exists but cannot be
  // read (or a damaged one that cannot be set aside) is left as it is: the record starts fresh
  // and is never saved. Either way the lines that tell the player so are printed once and left
  // in damageNote.
  void load(int count);
  // Saves the assist marks, then merges the record into its file under the file's lock (so another game's progress
  // saved meanwhile is kept, and taken into this record) and writes it through a temporary file. On failure prints one
  // line and leaves the old file as it was. A file left alone at load is never written: the reason comes back, and
  // nothing more is printed.
  FileResult save();
  // Saves at once if the record is the one loaded from its file (the game's record), so that a
  // crash loses nothing that was reported on screen; a record built in memory, or one whose
  // file could not be read, writes nothing and reports nothing new.
  FileResult keep();
  // A run with assists on completes, unlocks and may earn the golden crown as any other, but
  // earns no silver crown and sets no best time; the marks remember what it was the first to earn.
  void recordCompletion(int levelIndex, bool allGarbage, double elapsed, bool withAssists = false);
  // False for a level beyond the records.
  bool levelCompleted(int levelIndex) const {
    return levelIndex >= 0 && levelIndex < static_cast<int>(records.size()) && records[levelIndex].completed;
  }
  double targetTime(int levelIndex) const;
  // Only the records of the campaign's levelCount levels count: a record beyond them (left by
  // a bigger set of levels) stays in the file but earns nothing and blocks nothing.
  LevelTally tally() const { return tallyLevels(records, levelCount); }
  // One point per level for each of completed, golden and silver.
  unsigned unlockPoints() const { return tally().points; }
  unsigned maximumPoints() const { return tally().maximumPoints; }
  unsigned completedCount() const { return tally().completed; }
  // The open levels, lowest first, whose completion opens the locked level `levelIndex`
  // (completing any others does as well); empty when it is open. Fewer than needed when the
  // open ones do not suffice.
  std::vector<int> levelsToOpen(int levelIndex) const;
  // How many more completions open it.
  int completionsToOpen(int levelIndex) const;
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
  // What only runs with assists have earned, in a file of its own beside this one; loaded and
  // saved with the record.
  AssistMarks assisted;

 private:
  Merged takeStored(const FoundFile& found);
  Merged mergeWithStored(const FoundFile& found, Progress& merged) const;
  void takeBest(const Progress& stored);
  bool readRecords(const std::string& file);
  FileResult setAside(const std::string& bytes);
  void refuseSaving(const std::string& reason);
  void tell(const std::vector<std::string>& lines);
  void openAhead();
  std::vector<unsigned char> fileBytes() const;

  // The death count as last read from or written to the file: deaths beyond it are this run's
  // own, added to whatever the file holds when the record is merged into it.
  std::int32_t deathsInFile = 0;
  // Why the file is left alone (it could not be read, or was damaged and could not be set
  // aside); while set, nothing is ever written to it.
  std::string refusal;
  // What was read of a damaged file set aside at load: the first save finds the same file and
  // need not set it aside again.
  std::string setAsideBytes;
};

Progress& progress();
