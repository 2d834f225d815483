#include "replay/best_run.h"

#include <filesystem>

#include "app/data_dirs.h"
#include "replay/replay_file.h"
#include "world/world.h"

namespace {

BestRun refused(const std::string& problem) { return BestRun{std::nullopt, problem}; }

BestRun checked(const LoadedReplay& loaded, int level, const std::string& levelFile) {
  if (!loaded.read()) return refused(format("Level %d's best run cannot be read: %s", level, loaded.problem.c_str()));
  uint64_t hash = 0;
  FileResult hashed = hashLevelFile(levelFile, hash);
  if (!hashed.ok) return refused(format("Level %d cannot be read: %s", level, hashed.reason.c_str()));
  std::string mismatch = levelMismatch(loaded.replay, hash);
  if (!mismatch.empty()) return refused(mismatch);
  return BestRun{loaded.replay, ""};
}

// The run shipped beside the level file, in the campaign folder's replays/.
LoadedReplay loadShipped(int level, const std::string& levelFile) {
  return loadReplay(shippedBestRunFile(std::filesystem::path(levelFile).parent_path().string(), level));
}

}  // namespace

BestRun findBestRun(const std::string& campaign, int levelIndex, const std::string& levelFile, bool completed) {
  int level = levelIndex + 1;
  LoadedReplay own = loadReplay(playerFile(bestRunFile(campaign, level)));
  if (own.state != LoadedReplay::State::Missing) return checked(own, level, levelFile);
  LoadedReplay shipped = loadShipped(level, levelFile);
  if (!completed || shipped.state == LoadedReplay::State::Missing)
    return refused(format("Level %d has no best run to watch yet.", level));
  return checked(shipped, level, levelFile);
}

BestRun findShippedRun(int levelIndex, const std::string& levelFile) {
  int level = levelIndex + 1;
  LoadedReplay shipped = loadShipped(level, levelFile);
  if (shipped.state == LoadedReplay::State::Missing) return refused(format("Level %d ships no way through.", level));
  return checked(shipped, level, levelFile);
}
