#include "editor/autosave.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string autosavePathFor(const std::string& levelPath) { return levelPath + ".autosave"; }

bool autosaveIsNewer(const std::string& levelPath) {
  std::error_code error;
  const fs::path autosave = autosavePathFor(levelPath);
  if (!fs::is_regular_file(autosave, error)) return false;
  if (!fs::exists(levelPath, error)) return true;
  return fs::last_write_time(autosave, error) > fs::last_write_time(levelPath, error);
}

bool AutosaveClock::due(double dt, bool unsaved) {
  sinceLast += dt;
  if (!unsaved || sinceLast < kIntervalSeconds) return false;
  sinceLast = 0;
  return true;
}
