#pragma once

#include <string>

// The copy of the level written beside its file while it has unsaved changes, so that a
// crash or a kill loses at most the last minute of work.
std::string autosavePathFor(const std::string& levelPath);

// Whether the autosave beside the level is worth offering: it exists and is newer than the
// level file (or the level file is gone).
bool autosaveIsNewer(const std::string& levelPath);

// Says when the next autosave is due: at most once a minute, and only while there is
// something unsaved.
class AutosaveClock {
 public:
  static constexpr double kIntervalSeconds = 60.0;

  bool due(double dt, bool unsaved);

 private:
  double sinceLast = 0;
};
