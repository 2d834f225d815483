#include "replay/replay.h"

#include <cstring>

#include "world/world.h"

namespace {

constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

std::string endOf(const Outcome& outcome, double elapsed) {
  return format("status=%d reason=\"%s\" elapsed=%.17g", outcome.status, outcome.reason.c_str(), elapsed);
}

// Elapsed times compare bit for bit: a replay plays the same sums in the same order.
bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string runFile(const std::string& campaign, int level, const char* ending) {
  return "replays/" + campaign + "/" + std::to_string(level) + ending;
}

}  // namespace

bool PlayInput::operator==(const PlayInput& other) const {
  return left == other.left && right == other.right && up == other.up && down == other.down && jump == other.jump &&
         action == other.action;
}

uint32_t Replay::frameCount() const {
  uint32_t frames = 0;
  for (const FrameRun& run : runs) frames += run.count;
  return frames;
}

uint64_t levelHash(const std::string& levelBytes) {
  uint64_t hash = kFnvOffsetBasis;
  for (unsigned char byte : levelBytes) hash = (hash ^ byte) * kFnvPrime;
  return hash;
}

std::optional<std::string> levelMismatch(const Replay& replay, uint64_t levelFileHash) {
  if (levelFileHash == replay.levelHash) return std::nullopt;
  return format("this replay was recorded on a different version of level %d", replay.level);
}

std::optional<std::string> outcomeMismatch(const Replay& replay, const Outcome& played, double elapsed) {
  if (played.status == replay.outcome.status && played.reason == replay.outcome.reason &&
      sameBits(elapsed, replay.elapsed))
    return std::nullopt;
  return "it recorded " + endOf(replay.outcome, replay.elapsed) + " but played to " + endOf(played, elapsed);
}

std::string bestRunFile(const std::string& campaign, int level) { return runFile(campaign, level, ".rpl"); }

std::string lastRunFile(const std::string& campaign, int level) { return runFile(campaign, level, ".last.rpl"); }

std::string earlierVersionRunFile(const std::string& campaign, int level, uint64_t levelFileHash) {
  return runFile(campaign, level, format(".%016llx.rpl", static_cast<unsigned long long>(levelFileHash)).c_str());
}

std::string shippedBestRunFile(const std::string& campaignFolder, int level) {
  return campaignFolder + "/replays/" + std::to_string(level) + ".rpl";
}
