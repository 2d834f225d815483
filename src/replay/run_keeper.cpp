#include "replay/run_keeper.h"

#include <cstdio>

#include "app/data_dirs.h"
#include "replay/replay_file.h"

namespace {

// A run that cannot be kept costs the player nothing else: the line says so, and play goes on.
void save(const std::string& name, const Replay& run, std::vector<std::string>& failures) {
  FileResult saved = saveReplay(playerFile(name), run);
  if (saved.ok) return;
  failures.push_back(failedSaveLine("the run", saved));
  std::printf("%s\n", failures.back().c_str());
  std::fflush(stdout);
}

}  // namespace

RunKeeper::RunKeeper(const std::string& campaign, int level, uint64_t levelHash)
    : recorder_(campaign, level, levelHash) {}

void RunKeeper::record(double dt, const PlayInput& input) {
  if (!ended_) recorder_.add(dt, input);
}

std::vector<std::string> RunKeeper::end(const Outcome& outcome, double elapsed) {
  std::vector<std::string> failures;
  if (ended_) return failures;
  ended_ = true;
  run_ = recorder_.replay(outcome, elapsed);
  if (!run_) return failures;
  save(lastRunFile(run_->campaign, run_->level), *run_, failures);
  std::string best = bestRunFile(run_->campaign, run_->level);
  if (replacesBest(*run_, loadReplay(playerFile(best)))) save(best, *run_, failures);
  return failures;
}
