#include "replay/best_run.h"

#include <filesystem>
#include <optional>

#include "app/data_dirs.h"
#include "replay/replay_file.h"
#include "world/world.h"

namespace {

BestRun refused(const std::string& problem) { return BestRun{std::nullopt, problem}; }

BestRun checked(const Result<Replay>& loaded, int level, const std::string& levelFile) {
  if (!loaded.ok())
    return refused(format("Level %d's best run cannot be read: %s", level, located(loaded.problem()).c_str()));
  Result<uint64_t> hash = hashLevelFile(levelFile);
  if (!hash.ok()) return refused(format("Level %d cannot be read: %s", level, hash.problem().message.c_str()));
  std::optional<std::string> mismatch = levelMismatch(loaded.value(), hash.value());
  if (mismatch) return refused(*mismatch);
  return BestRun{loaded.value(), ""};
}

// The run shipped beside the level file, in the campaign folder's replays/.
Result<Replay> loadShipped(int level, const std::string& levelFile) {
  return loadReplay(shippedBestRunFile(std::filesystem::path(levelFile).parent_path().string(), level));
}

}  // namespace

BestRun findBestRun(const std::string& campaign, int levelIndex, const std::string& levelFile, bool completed) {
  int level = levelIndex + 1;
  Result<Replay> own = loadReplay(playerFile(bestRunFile(campaign, level)));
  if (!isMissing(own)) return checked(own, level, levelFile);
  Result<Replay> shipped = loadShipped(level, levelFile);
  if (!completed || isMissing(shipped)) return refused(format("Level %d has no best run to watch yet.", level));
  return checked(shipped, level, levelFile);
}

BestRun findShippedRun(int levelIndex, const std::string& levelFile) {
  int level = levelIndex + 1;
  Result<Replay> shipped = loadShipped(level, levelFile);
  if (isMissing(shipped)) return refused(format("Level %d ships no way through.", level));
  return checked(shipped, level, levelFile);
}
