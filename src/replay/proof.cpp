#include "replay/proof.h"

#include <algorithm>
#include <cmath>

#include "world/world.h"

namespace {

// Tenths of a second of target per second of the proof: the proof takes 0.8 of the target.
constexpr double kTargetTenthsPerSecond = 12.5;
constexpr double kRoundingSlack = 1e-9;   // a proof whose target is a whole tenth keeps that tenth
constexpr double kLongestTarget = 999.9;  // s: pack.txt takes targets below 1000 s

}  // namespace

std::string proofFile(const std::string& campaignFolder, int level) {
  return campaignFolder + "/proofs/" + std::to_string(level) + ".rpl";
}

FoundProof findProof(const std::string& campaignFolder, int level) {
  FoundProof found{proofFile(campaignFolder, level), loadReplay(proofFile(campaignFolder, level))};
  if (found.loaded.state != LoadedReplay::State::Missing) return found;
  std::string shipped = shippedBestRunFile(campaignFolder, level);
  LoadedReplay best = loadReplay(shipped);
  if (best.state != LoadedReplay::State::Missing) found = FoundProof{shipped, best};
  return found;
}

std::string proofProblem(const FoundProof& proof, int level) {
  const LoadedReplay& loaded = proof.loaded;
  if (loaded.state == LoadedReplay::State::Missing) return "";
  if (!loaded.read()) return loaded.problem;
  if (loaded.replay.level != level) return format("a run of level %d, not of level %d", loaded.replay.level, level);
  if (loaded.replay.outcome.status != Outcome::Completed) return "a run that did not complete the level";
  return "";
}

ProofStanding proofStanding(const FoundProof& proof, int level, uint64_t levelFileHash) {
  if (proof.loaded.state == LoadedReplay::State::Missing) return ProofStanding::Unproven;
  if (!proofProblem(proof, level).empty()) return ProofStanding::Damaged;
  return proof.loaded.replay.levelHash == levelFileHash ? ProofStanding::Proven : ProofStanding::Stale;
}

bool levelProven(const std::string& campaignFolder, int level, const std::string& levelFile) {
  uint64_t hash = 0;
  if (!hashLevelFile(levelFile, hash).ok) return false;
  return proofStanding(findProof(campaignFolder, level), level, hash) == ProofStanding::Proven;
}

FileResult keepProof(const std::string& campaignFolder, const Replay& run) {
  return saveReplay(proofFile(campaignFolder, run.level), run);
}

double suggestedTarget(double proofTime) {
  double tenths = std::ceil(proofTime * kTargetTenthsPerSecond - kRoundingSlack);
  return std::min(tenths / 10.0, kLongestTarget);
}
