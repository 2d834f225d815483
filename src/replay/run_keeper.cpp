#include "replay/run_keeper.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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

// The stored best run of another version of the level goes beside it, or stays where it is
// when that version's place already keeps a run at least as fast: false when it could not be
// kept, so that nothing is written over it.
bool setAsideEarlierVersion(const Replay& run, const Replay& stored, std::vector<std::string>& failures) {
  std::string best = bestRunFile(run.campaign, run.level);
  std::string aside = playerFile(earlierVersionRunFile(run.campaign, run.level, stored.levelHash));
  LoadedReplay there = loadReplay(aside);
  if (!replacesBest(stored, there)) return there.state != LoadedReplay::State::Unreadable;
  if (std::rename(playerFile(best).c_str(), aside.c_str()) == 0) return true;
  failures.push_back(failedSaveLine("the run", fileFailure(aside, std::strerror(errno))));
  std::printf("%s\n", failures.back().c_str());
  std::fflush(stdout);
  return false;
}

}  // namespace

RunKeeper::RunKeeper(const std::string& campaign, int level, uint64_t levelHash)
    : recorder_(campaign, level, levelHash) {}

void RunKeeper::record(double dt, const PlayInput& input) {
  if (!ended_) recorder_.add(dt, input);
}

std::vector<std::string> RunKeeper::end(const Outcome& outcome, double elapsed, RunHelp help) {
  std::vector<std::string> failures;
  if (ended_) return failures;
  ended_ = true;
  if (help != RunHelp::Invincible) run_ = recorder_.replay(outcome, elapsed);
  if (!run_) return failures;
  save(lastRunFile(run_->campaign, run_->level), *run_, failures);
  if (help == RunHelp::Assisted) return failures;
  std::string best = bestRunFile(run_->campaign, run_->level);
  LoadedReplay stored = loadReplay(playerFile(best));
  if (!replacesBest(*run_, stored)) return failures;
  bool otherVersion = stored.state == LoadedReplay::State::Read && stored.replay.levelHash != run_->levelHash;
  if (!otherVersion || setAsideEarlierVersion(*run_, stored.replay, failures)) save(best, *run_, failures);
  return failures;
}
