#include "states/run_keeper.h"

#include <cstdio>

#include "app/data_dirs.h"
#include "replay/replay_file.h"

namespace {

// A run that cannot be kept costs the player nothing else: one line on standard output.
void save(const std::string& name, const Replay& run) {
  std::string path = playerFile(name);
  FileResult saved = saveReplay(path, run);
  if (saved.ok) return;
  std::printf("Unable to keep the run in '%s': %s.\n", path.c_str(), saved.reason.c_str());
  std::fflush(stdout);
}

}  // namespace

RunKeeper::RunKeeper(const std::string& campaign, int level, uint64_t levelHash)
    : recorder_(campaign, level, levelHash) {}

void RunKeeper::record(double dt, const PlayInput& input) {
  if (!ended_) recorder_.add(dt, input);
}

void RunKeeper::end(const Outcome& outcome, double elapsed) {
  if (ended_) return;
  ended_ = true;
  run_ = recorder_.replay(outcome, elapsed);
  if (!run_) return;
  save(lastRunFile(run_->campaign, run_->level), *run_);
  std::string best = bestRunFile(run_->campaign, run_->level);
  if (replacesBest(*run_, loadReplay(playerFile(best)))) save(best, *run_);
}
