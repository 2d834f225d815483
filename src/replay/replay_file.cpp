#include "replay/replay_file.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "app/frame_clock.h"
#include "world/world.h"

// The file, every number little-endian:
//
//   magic        4 bytes  "BHRP"
//   version      u16      1
//   campaign     u8 length (1-255), then the folder name's bytes (no '/' or NUL, not . or ..)
//   level        u8       the level's number, 1-255
//   level hash   u64      FNV-1a of the level file's bytes
//   status       u8       0 abandoned, 1 dead, 2 completed
//   reason       u8 length, then printable ASCII without '"': 1-255 bytes when dead, else none
//   elapsed      f64      s, from 0 up to the sum of the steps
//   frames       u32      at most kMaximumReplayFrames
//   usual step   f64      s, the step of every run that carries none of its own
//   runs, until they hold `frames` frames, and nothing after them:
//     head       u8       bits 0-5: left, right, up, down, jump, action; bit 6: a step follows
//     count      unsigned LEB128 in its shortest form, 1 up to the frames not yet given
//     step       f64      s, only when bit 6 is set
//
// Steps lie within kShortestReplayStep to kLongestReplayStep.

namespace {

const char kMagic[] = "BHRP";
constexpr size_t kMagicBytes = 4;
constexpr uint16_t kVersion = 1;
constexpr int kInputBits = 6;
constexpr uint8_t kOwnStepBit = 1u << kInputBits;
constexpr uint8_t kRunHeadBits = kOwnStepBit | ((1u << kInputBits) - 1);
constexpr int kCountDigitBits = 7;
constexpr uint8_t kCountMoreBit = 0x80;
constexpr uint8_t kCountDigitMask = 0x7f;
constexpr int kLongestCount = 3;  // LEB128 digits of kMaximumReplayFrames
// The most the level loader reads of a level file.
constexpr size_t kLargestLevelBytes = 64u << 20;
// Elapsed time is a prefix of the sum of the steps; the slack only forgives rounding.
constexpr double kElapsedSlack = 1e-6;  // s

uint64_t bitsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double doubleOf(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool isStep(double dt) { return dt >= kShortestReplayStep && dt <= kLongestReplayStep; }

uint8_t inputBits(const PlayInput& input) {
  const bool held[] = {input.left, input.right, input.up, input.down, input.jump, input.action};
  uint8_t bits = 0;
  for (int bit = 0; bit < kInputBits; ++bit) bits |= held[bit] ? 1u << bit : 0;
  return bits;
}

PlayInput inputOf(uint8_t bits) {
  auto bit = [bits](int n) { return (bits >> n & 1) != 0; };
  return PlayInput{bit(0), bit(1), bit(2), bit(3), bit(4), bit(5)};
}

bool isFolderName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

bool isReasonText(const std::string& reason) {
  for (unsigned char c : reason) {
    if (c < 0x20 || c > 0x7e || c == '"') return false;
  }
  return true;
}

class Writer {
 public:
  void byte(unsigned value) { bytes_.push_back(static_cast<char>(value & 0xff)); }
  void number(uint64_t value, int size) {
    for (int i = 0; i < size; ++i) byte(static_cast<unsigned>(value >> (8 * i)));
  }
  void real(double value) { number(bitsOf(value), 8); }
  void text(const std::string& value) {
    byte(static_cast<unsigned>(value.size()));
    bytes_ += value;
  }
  void count(uint32_t value) {
    for (; value > kCountDigitMask; value >>= kCountDigitBits) byte((value & kCountDigitMask) | kCountMoreBit);
    byte(value);
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The step most frames take; the first of them on a tie, the game's own for no frames.
double usualStep(const std::vector<FrameRun>& runs) {
  std::unordered_map<uint64_t, uint64_t> frames;
  uint64_t most = 0;
  for (const FrameRun& run : runs) most = std::max(most, frames[bitsOf(run.dt)] += run.count);
  for (const FrameRun& run : runs) {
    if (frames[bitsOf(run.dt)] == most) return run.dt;
  }
  return FrameClock::kMinimumFrame;
}

// Reads the fields in order; the first problem stops it and says at which byte it lies.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}

  bool failed() const { return !problem_.empty(); }
  const std::string& problem() const { return problem_; }
  size_t at() const { return at_; }
  size_t left() const { return bytes_.size() - at_; }

  void fail(size_t where, const std::string& what) {
    if (!failed()) problem_ = format("byte %zu: %s", where, what.c_str());
  }
  bool has(size_t size, const std::string& field) {
    if (failed()) return false;
    if (left() >= size) return true;
    fail(at_, "cut short in " + field);
    return false;
  }
  uint64_t number(int size, const std::string& field) {
    if (!has(static_cast<size_t>(size), field)) return 0;
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) value |= uint64_t{static_cast<unsigned char>(bytes_[at_ + i])} << (8 * i);
    at_ += static_cast<size_t>(size);
    return value;
  }
  double real(const std::string& field) { return doubleOf(number(8, field)); }
  std::string text(const std::string& field) {
    size_t size = number(1, field + "'s length");
    if (!has(size, field)) return "";
    std::string value = bytes_.substr(at_, size);
    at_ += size;
    return value;
  }
  std::string raw(size_t size, const std::string& field) {
    if (!has(size, field)) return "";
    at_ += size;
    return bytes_.substr(at_ - size, size);
  }
  // An unsigned LEB128 number in its shortest form, of at most kLongestCount digits.
  uint32_t count(const std::string& field) {
    size_t start = at_;
    uint32_t value = 0;
    for (int digit = 0; digit < kLongestCount; ++digit) {
      uint8_t next = static_cast<uint8_t>(number(1, field));
      if (failed()) return 0;
      value |= static_cast<uint32_t>(next & kCountDigitMask) << (kCountDigitBits * digit);
      if (!(next & kCountMoreBit)) {
        if (digit > 0 && next == 0) fail(start, field + " is not written in its shortest form");
        return value;
      }
    }
    fail(start, field + " has more digits than any frame count");
    return 0;
  }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
  std::string problem_;
};

class ReplayDecoder {
 public:
  explicit ReplayDecoder(const std::string& bytes) : in_(bytes) {}

  std::string decode(Replay& replay) {
    readHeader();
    readRuns();
    if (!in_.failed() && in_.left() > 0) in_.fail(in_.at(), format("%zu bytes after the last frame", in_.left()));
    if (!in_.failed() && !(replay_.elapsed <= totalTime_ + kElapsedSlack))
      in_.fail(elapsedAt_,
               format("elapsed time %.17g s is longer than the run's %.17g s of frames", replay_.elapsed, totalTime_));
    if (!in_.failed()) replay = std::move(replay_);
    return in_.problem();
  }

 private:
  void readHeader() {
    if (in_.raw(kMagicBytes, "the magic") != std::string(kMagic, kMagicBytes) && !in_.failed())
      in_.fail(0, "not a replay (it does not start with BHRP)");
    size_t at = in_.at();
    uint64_t version = in_.number(2, "the version");
    if (!in_.failed() && version != kVersion)
      in_.fail(at, format("version %d, and this game reads version %d", static_cast<int>(version), kVersion));
    readLevel();
    readOutcome();
    at = in_.at();
    frames_ = static_cast<uint32_t>(in_.number(4, "the frame count"));
    if (!in_.failed() && frames_ > kMaximumReplayFrames)
      in_.fail(at, format("%u frames, more than the %u a replay may hold", frames_, kMaximumReplayFrames));
    usualStep_ = readStep("the usual step");
  }

  void readLevel() {
    size_t at = in_.at();
    replay_.campaign = in_.text("the campaign name");
    if (!in_.failed() && !isFolderName(replay_.campaign)) in_.fail(at, "the campaign name is no folder's name");
    at = in_.at();
    replay_.level = static_cast<int>(in_.number(1, "the level number"));
    if (!in_.failed() && replay_.level < 1) in_.fail(at, "level 0 (levels are numbered from 1)");
    replay_.levelHash = in_.number(8, "the level hash");
  }

  void readOutcome() {
    size_t at = in_.at();
    uint64_t status = in_.number(1, "the outcome");
    if (!in_.failed() && status > Outcome::Completed)
      in_.fail(at, format("outcome %d is none of 0 (abandoned), 1 (dead), 2 (completed)", static_cast<int>(status)));
    replay_.outcome.status = in_.failed() ? Outcome::Playing : static_cast<Outcome::Status>(status);
    at = in_.at();
    replay_.outcome.reason = in_.text("the death reason");
    bool dead = replay_.outcome.status == Outcome::Dead;
    if (!in_.failed() && dead == replay_.outcome.reason.empty())
      in_.fail(at, dead ? "a death without a reason" : "a death reason for a run that did not end in death");
    if (!in_.failed() && !isReasonText(replay_.outcome.reason))
      in_.fail(at, "the death reason is not printable text without quotes");
    elapsedAt_ = in_.at();
    replay_.elapsed = in_.real("the elapsed time");
    if (!in_.failed() && !(replay_.elapsed >= 0.0 && std::isfinite(replay_.elapsed)))
      in_.fail(elapsedAt_, format("elapsed time %g is no number of seconds from 0 up", replay_.elapsed));
  }

  double readStep(const std::string& field) {
    size_t at = in_.at();
    double dt = in_.real(field);
    if (!in_.failed() && !isStep(dt))
      in_.fail(at,
               format("%s %g s lies outside %g to %g s", field.c_str(), dt, kShortestReplayStep, kLongestReplayStep));
    return dt;
  }

  void readRuns() {
    uint32_t given = 0;
    for (int number = 1; !in_.failed() && given < frames_; ++number) {
      std::string name = format("run %d", number);
      size_t at = in_.at();
      uint8_t head = static_cast<uint8_t>(in_.number(1, name));
      if (!in_.failed() && (head & ~kRunHeadBits))
        in_.fail(at, format("%s sets unknown bits (head byte 0x%02x)", name.c_str(), head));
      at = in_.at();
      uint32_t count = in_.count(name + "'s frame count");
      if (!in_.failed() && (count == 0 || count > frames_ - given))
        in_.fail(at,
                 format("%s holds %u frames, and the header has %u left for it", name.c_str(), count, frames_ - given));
      double dt = (head & kOwnStepBit) ? readStep(name + "'s step") : usualStep_;
      if (in_.failed()) return;
      replay_.runs.push_back(FrameRun{dt, inputOf(head), count});
      for (uint32_t frame = 0; frame < count; ++frame) totalTime_ += dt;
      given += count;
    }
  }

  Reader in_;
  Replay replay_;
  uint32_t frames_ = 0;
  double usualStep_ = 0.0;
  size_t elapsedAt_ = 0;
  double totalTime_ = 0.0;
};

FileResult failure(const std::string& reason) {
  FileResult result;
  result.ok = false;
  result.reason = reason;
  return result;
}

LoadedReplay readFileBytes(const std::string& path, size_t limit, std::string& bytes) {
  LoadedReplay found;
  FileResult read = readWholeFile(path, bytes, limit);
  if (read.ok) {
    found.state = LoadedReplay::State::Read;
  } else {
    found.state = read.missing ? LoadedReplay::State::Missing : LoadedReplay::State::Unreadable;
    found.problem = readProblem(read, limit);
  }
  return found;
}

}  // namespace

std::string encodeReplay(const Replay& replay) {
  double usual = usualStep(replay.runs);
  Writer out;
  for (size_t i = 0; i < kMagicBytes; ++i) out.byte(static_cast<unsigned char>(kMagic[i]));
  out.number(kVersion, 2);
  out.text(replay.campaign);
  out.byte(static_cast<unsigned>(replay.level));
  out.number(replay.levelHash, 8);
  out.byte(static_cast<unsigned>(replay.outcome.status));
  out.text(replay.outcome.reason);
  out.real(replay.elapsed);
  out.number(replay.frameCount(), 4);
  out.real(usual);
  for (const FrameRun& run : replay.runs) {
    bool ownStep = bitsOf(run.dt) != bitsOf(usual);
    out.byte(inputBits(run.input) | (ownStep ? kOwnStepBit : 0));
    out.count(run.count);
    if (ownStep) out.real(run.dt);
  }
  return out.bytes();
}

std::string decodeReplay(const std::string& bytes, Replay& replay) { return ReplayDecoder(bytes).decode(replay); }

LoadedReplay loadReplay(const std::string& path) {
  std::string bytes;
  LoadedReplay found = readFileBytes(path, kMaximumReplayBytes, bytes);
  if (!found.read()) return found;
  found.problem = decodeReplay(bytes, found.replay);
  if (!found.problem.empty()) found.state = LoadedReplay::State::Damaged;
  return found;
}

FileResult saveReplay(const std::string& path, const Replay& replay) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) return fileFailure(path, error.message());
  return replaceFile(path, encodeReplay(replay));
}

FileResult hashLevelFile(const std::string& path, uint64_t& hash) {
  std::string bytes;
  LoadedReplay found = readFileBytes(path, kLargestLevelBytes, bytes);
  if (!found.read()) return failure(found.problem);
  hash = levelHash(bytes);
  return {};
}

bool replacesBest(const Replay& run, const LoadedReplay& best) {
  if (run.outcome.status != Outcome::Completed) return false;
  switch (best.state) {
    case LoadedReplay::State::Missing:
    case LoadedReplay::State::Damaged:
      return true;
    case LoadedReplay::State::Unreadable:
      return false;
    case LoadedReplay::State::Read:
      break;
  }
  const Replay& stored = best.replay;
  return stored.levelHash != run.levelHash || stored.outcome.status != Outcome::Completed ||
         run.elapsed < stored.elapsed;
}
