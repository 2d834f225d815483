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
  if (!isMissing(found.loaded)) return found;
  std::string shipped = shippedBestRunFile(campaignFolder, level);
  Result<Replay> best = loadReplay(shipped);
  if (!isMissing(best)) found = FoundProof{shipped, best};
  return found;
}

std::optional<std::string> proofProblem(const FoundProof& proof, int level) {
  const Result<Replay>& loaded = proof.loaded;
  if (isMissing(loaded)) return std::nullopt;
  if (!loaded.ok()) return located(loaded.problem());
  const Replay& run = loaded.value();
  if (run.level != level) return format("a run of level %d, not of level %d", run.level, level);
  if (run.outcome.status != Outcome::Completed) return "a run that did not complete the level";
  return std::nullopt;
}

ProofStanding proofStanding(const FoundProof& proof, int level, uint64_t levelFileHash) {
  if (isMissing(proof.loaded)) return ProofStanding::Unproven;
  if (proofProblem(proof, level)) return ProofStanding::Damaged;
  return proof.loaded.value().levelHash == levelFileHash ? ProofStanding::Proven : ProofStanding::Stale;
}

bool levelProven(const std::string& campaignFolder, int level, const std::string& levelFile) {
  Result<uint64_t> hash = hashLevelFile(levelFile);
  if (!hash.ok()) return false;
  return proofStanding(findProof(campaignFolder, level), level, hash.value()) == ProofStanding::Proven;
}

Result<> keepProof(const std::string& campaignFolder, const Replay& run) {
  return saveReplay(proofFile(campaignFolder, run.level), run);
}

double suggestedTarget(double proofTime) {
  double tenths = std::ceil(proofTime * kTargetTenthsPerSecond - kRoundingSlack);
  return std::min(tenths / 10.0, kLongestTarget);
}
