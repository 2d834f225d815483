#pragma once

#include <vector>

// What a campaign's progress records add up to. Only the first levelCount records belong to
// its levels: the file keeps any records beyond them (an older or bigger set of levels wrote
// them), but they make no button, no points and no part of the final-button rule.
struct LevelTally {
  unsigned completed = 0;
  unsigned points = 0;         // one each for completed, golden and silver
  unsigned maximumPoints = 0;  // three per level
  bool allCompleted = false;   // the final screen may be opened (at once with no levels)
};

// Record is any record with the flags completed, golden and silver (the progress record's).
// Records missing at the end count as nothing done.
template <typename Record>
LevelTally tallyLevels(const std::vector<Record>& records, int levelCount) {
  LevelTally tally;
  unsigned levels = levelCount > 0 ? static_cast<unsigned>(levelCount) : 0u;
  for (unsigned i = 0; i < levels && i < records.size(); ++i) {
    const Record& record = records[i];
    tally.completed += record.completed;
    tally.points += unsigned{record.completed} + unsigned{record.golden} + unsigned{record.silver};
  }
  tally.maximumPoints = 3 * levels;
  tally.allCompleted = tally.completed == levels;
  return tally;
}
