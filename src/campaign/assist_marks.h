#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/safe_file.h"

struct LevelRecord;

// Which levels' completion and golden crown have so far come only from runs with assists on, so
// that the level's information can say so. The progress file keeps its format, so the marks
// live in a small text file of their own beside it, written with the same care: under its
// lock, merged with what another game saved, through a temporary file, and a damaged file set
// aside before it is replaced.
//   # comment
//   <level number> completed      the level has been completed only with assists
//   <level number> golden         its golden crown was earned only with assists
class AssistMarks {
 public:
  enum class Mark { Completed, Golden };

  // A completion of the level, told before its record takes it: a run with assists marks what it
  // is the first to earn; a run without them clears the marks of what it earned.
  void recordCompletion(int levelIndex, const LevelRecord& before, bool allGarbage, bool assisted);
  bool marked(int levelIndex, Mark mark) const;

  // Reads the file; gives the lines that tell the player of a damaged or unreadable one. A file
  // that cannot be read is never written.
  std::vector<std::string> load();
  // Writes the marks set and cleared since the last save into the file's own: nothing happens
  // while there are none, or while no file is named (marks of a record never loaded stay in
  // memory). A failure prints one line.
  FileResult save();

  std::string path;  // "binhopper.assisted" beside "binhopper.dat"

 private:
  using Key = std::pair<int, Mark>;  // the level's index from 0
  void set(const Key& key);
  void clear(const Key& key);
  FileResult setAside(const std::string& bytes, std::vector<std::string>& lines);
  Merged merge(const FoundFile& found, std::set<Key>& merged, std::vector<std::string>& lines);

  std::set<Key> marks_;
  std::set<Key> set_, cleared_;  // since the last save
  std::string refusal_;          // why the file is left alone
  std::string setAsideBytes_;    // a damaged file already set aside
};

// The marks' file beside a progress file: "binhopper.dat" gives "binhopper.assisted".
std::string assistMarksPath(const std::string& progressPath);
