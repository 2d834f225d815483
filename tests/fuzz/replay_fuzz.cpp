// The replay reader on any bytes: whatever it accepts is a replay the game can play and keep.
// Its frames are as many as it says, each a step a replay may hold, and it writes back to a
// file of at most the size limit that reads as the same replay.
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "replay/replay_file.h"
#include "replay/replay_frames.h"

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameRuns(const Replay& a, const Replay& b) {
  if (a.runs.size() != b.runs.size()) return false;
  for (size_t i = 0; i < a.runs.size(); ++i) {
    if (!sameBits(a.runs[i].dt, b.runs[i].dt) || a.runs[i].input != b.runs[i].input ||
        a.runs[i].count != b.runs[i].count)
      return false;
  }
  return true;
}

bool sameReplay(const Replay& a, const Replay& b) {
  return a.campaign == b.campaign && a.level == b.level && a.levelHash == b.levelHash &&
         a.outcome.status == b.outcome.status && a.outcome.reason == b.outcome.reason &&
         sameBits(a.elapsed, b.elapsed) && sameRuns(a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<Replay> decoded = decodeReplay(std::string(reinterpret_cast<const char*>(data), size));
  if (!decoded.ok()) return 0;
  const Replay& replay = decoded.value();
  if (replay.frameCount() > kMaximumReplayFrames) std::abort();
  ReplayFrames frames(replay.runs);
  ReplayFrame frame{};
  while (frames.next(frame)) {
    if (!(frame.dt >= kShortestReplayStep && frame.dt <= kLongestReplayStep)) std::abort();
  }
  if (frames.given() != replay.frameCount()) std::abort();
  std::string written = encodeReplay(replay);
  Result<Replay> again = written.size() > kMaximumReplayBytes ? Result<Replay>(Problem{}) : decodeReplay(written);
  if (!again.ok() || !sameReplay(replay, again.value())) std::abort();
  return 0;
}
