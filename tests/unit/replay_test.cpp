#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "replay/replay.h"
#include "replay/replay_file.h"
#include "replay/replay_frames.h"
#include "replay/replay_recorder.h"
#include "unit/test_support.h"

namespace {

using namespace std::string_literals;

constexpr double kStep = 0.017;  // s, the game's usual step
const PlayInput kNone{};
const PlayInput kRight{false, true, false, false, false, false};
const PlayInput kRightJump{false, true, false, false, true, false};

// The file's fields as docs/replays.md lays them out, written here without the encoder so that
// the encoder and the reader are both held to the document.
struct Fields {
  std::string magic = "BHRP";
  uint16_t version = 1;
  std::string campaign = "levels";
  int level = 7;
  uint64_t hash = 0x0123456789abcdefull;
  int status = 2;
  std::string reason;
  double elapsed = 0.051;
  uint32_t frames = 4;
  double usualStep = kStep;
  std::string runs;  // the runs' bytes as they stand in the file
};

void put(std::string& bytes, uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xff);
}

std::string realBytes(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::string bytes;
  put(bytes, bits, 8);
  return bytes;
}

std::string bytesOf(const Fields& fields) {
  std::string bytes = fields.magic;
  put(bytes, fields.version, 2);
  put(bytes, fields.campaign.size(), 1);
  bytes += fields.campaign;
  put(bytes, static_cast<uint64_t>(fields.level), 1);
  put(bytes, fields.hash, 8);
  put(bytes, static_cast<uint64_t>(fields.status), 1);
  put(bytes, fields.reason.size(), 1);
  bytes += fields.reason;
  bytes += realBytes(fields.elapsed);
  put(bytes, fields.frames, 4);
  return bytes + realBytes(fields.usualStep) + fields.runs;
}

// Three frames walking right at the usual step, then one of 0.005 s pressing jump: the
// runs "0x02, 3" and "0x52, 1, step" (bit 1 right, bit 4 jump, bit 6 a step follows).
Fields walkThenJump() {
  Fields fields;
  fields.runs = "\x02\x03\x52\x01"s + realBytes(0.005);
  return fields;
}

Replay walkThenJumpReplay() {
  Replay replay;
  replay.campaign = "levels";
  replay.level = 7;
  replay.levelHash = 0x0123456789abcdefull;
  replay.outcome = Outcome{Outcome::Completed, ""};
  replay.elapsed = 0.051;
  replay.runs = {{kStep, kRight, 3}, {0.005, kRightJump, 1}};
  return replay;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expectSameReplay(const Replay& got, const Replay& want, const std::string& label) {
  EXPECT_EQ(got.campaign, want.campaign) << label;
  EXPECT_EQ(got.level, want.level) << label;
  EXPECT_EQ(got.levelHash, want.levelHash) << label;
  EXPECT_EQ(got.outcome.status, want.outcome.status) << label;
  EXPECT_EQ(got.outcome.reason, want.outcome.reason) << label;
  EXPECT_TRUE(sameBits(got.elapsed, want.elapsed)) << label << ": elapsed " << got.elapsed;
  ASSERT_EQ(got.runs.size(), want.runs.size()) << label;
  for (size_t i = 0; i < got.runs.size(); ++i) {
    EXPECT_TRUE(sameBits(got.runs[i].dt, want.runs[i].dt)) << label << " run " << i;
    EXPECT_TRUE(got.runs[i].input == want.runs[i].input) << label << " run " << i;
    EXPECT_EQ(got.runs[i].count, want.runs[i].count) << label << " run " << i;
  }
}

// Walking then jumping as the document lays it out; every input a frame can hold, once each,
// so that no two controls share or swap a bit; steps that are no short decimal; the longest
// names and most frames; counts of one to three digits; and no frames at all.
std::vector<Replay> replaysToKeep() {
  Replay everyInput = walkThenJumpReplay();
  everyInput.runs.clear();
  for (int bits = 0; bits < 64; ++bits) {
    auto bit = [bits](int n) { return (bits >> n & 1) != 0; };
    double dt = bits % 3 ? kStep : 0.1 + 0.2 * bits / 7;
    everyInput.runs.push_back({dt, PlayInput{bit(0), bit(1), bit(2), bit(3), bit(4), bit(5)}, 1u + bits * 97});
  }
  Replay longest = walkThenJumpReplay();
  longest.campaign = "My Pack (2)" + std::string(kMaximumReplayNameBytes - 11, 'c');
  longest.level = kMaximumReplayLevel;
  longest.outcome = Outcome{Outcome::Dead, std::string(kMaximumReplayNameBytes, 'r')};
  longest.elapsed = 17.25;
  longest.runs = {{1.0 / 60, kNone, kMaximumReplayFrames}};
  Replay empty = walkThenJumpReplay();
  empty.outcome = Outcome{};
  empty.elapsed = 0.0;
  empty.runs.clear();
  return {walkThenJumpReplay(), everyInput, longest, empty};
}

TEST(ReplayFile, WritesTheDocumentedBytesAndKeepsEveryFieldAndFrameBitForBit) {
  EXPECT_EQ(encodeReplay(walkThenJumpReplay()), bytesOf(walkThenJump()));
  for (const Replay& replay : replaysToKeep()) {
    std::string label = replay.campaign.substr(0, 12) + " with " + std::to_string(replay.runs.size()) + " runs";
    Result<Replay> read = decodeReplay(encodeReplay(replay));
    ASSERT_TRUE(read.ok()) << label << ": " << located(read.problem());
    expectSameReplay(read.value(), replay, label);
  }
}

// A newer version, a cut header, trailing bytes and too many frames are refused by
// tests/sim/replays.sh through the simulator, with these same messages.
TEST(ReplayFile, RefusesDamagedAndHostileBytesWithTheFirstProblem) {
  std::string good = bytesOf(walkThenJump());
  // The offsets of the fields of walkThenJump(): campaign "levels" at 6, level at 13, status at
  // 22, elapsed at 24, frames at 32, usual step at 36, the runs from 44.
  auto with = [](void (*change)(Fields&)) {
    Fields fields = walkThenJump();
    change(fields);
    return bytesOf(fields);
  };
  struct {
    const char* label;
    std::string bytes;
    std::string message;
  } const rows[] = {
      {"an empty file", "", "byte 0: cut short in the magic"},
      {"another file", with([](Fields& f) { f.magic = "RIFF"; }), "byte 0: not a replay (it does not start with BHRP)"},
      {"cut in a run's step", good.substr(0, good.size() - 3), "byte 48: cut short in run 2's step"},
      {"fewer frames than the header", good.substr(0, 46), "byte 46: cut short in run 2"},
      {"a huge declared run", with([](Fields& f) { f.runs = "\x02\xff\xff\x7f"s; }),
       "byte 45: run 1 holds 2097151 frames, and the header has 4 left for it"},
      {"a run of no frames", with([](Fields& f) { f.runs = "\x02\x00"s; }),
       "byte 45: run 1 holds 0 frames, and the header has 4 left for it"},
      {"a count in a long form", with([](Fields& f) { f.runs = "\x02\x84\x00"s; }),
       "byte 45: run 1's frame count is not written in its shortest form"},
      {"a count of four digits", with([](Fields& f) { f.runs = "\x02\x80\x80\x80\x01"s; }),
       "byte 45: run 1's frame count has more digits than any frame count"},
      {"an unknown bit", with([](Fields& f) { f.runs = "\x82\x04"s; }),
       "byte 44: run 1 sets unknown bits (head byte 0x82)"},
      {"a step of no time", with([](Fields& f) { f.runs = "\x42\x04"s + realBytes(0.0); }),
       "byte 46: run 1's step 0 s lies outside 1e-06 to 10 s"},
      {"a step that is no number", with([](Fields& f) { f.usualStep = std::numeric_limits<double>::quiet_NaN(); }),
       "byte 36: the usual step nan s lies outside 1e-06 to 10 s"},
      {"an unknown outcome", with([](Fields& f) { f.status = 3; }),
       "byte 22: outcome 3 is none of 0 (abandoned), 1 (dead), 2 (completed)"},
      {"a death without a reason", with([](Fields& f) { f.status = 1; }), "byte 23: a death without a reason"},
      {"a reason for a completion", with([](Fields& f) { f.reason = "fell"; }),
       "byte 23: a death reason for a run that did not end in death"},
      {"a reason that breaks the END line", with([](Fields& f) {
         f.status = 1;
         f.reason = "fell\" status=2";
       }),
       "byte 23: the death reason is not printable text without quotes"},
      {"no campaign", with([](Fields& f) { f.campaign = ""; }), "byte 6: the campaign name is no folder's name"},
      {"a campaign that is a path", with([](Fields& f) { f.campaign = "../x"; }),
       "byte 6: the campaign name is no folder's name"},
      {"level 0", with([](Fields& f) { f.level = 0; }), "byte 13: level 0 (levels are numbered from 1)"},
      {"a negative time", with([](Fields& f) { f.elapsed = -1; }),
       "byte 24: elapsed time -1 is no number of seconds from 0 up"},
      {"more time than the frames hold", with([](Fields& f) { f.elapsed = 0.5; }),
       "byte 24: elapsed time 0.5 s is longer than the run's 0.056000000000000001 s of frames"},
  };
  for (const auto& row : rows) {
    Result<Replay> replay = decodeReplay(row.bytes);
    ASSERT_FALSE(replay.ok()) << row.label;
    EXPECT_EQ(replay.kind(), Failure::Malformed) << row.label;
    EXPECT_EQ(located(replay.problem()), row.message) << row.label;
  }
}

// A matching level and end, and the messages of a changed level and of a different end, are
// checked by tests/sim/replays.sh.
TEST(ReplayFile, MismatchesSayWhatDiffers) {
  Replay replay = walkThenJumpReplay();
  // FNV-1a's published values, so that a hash written by another build reads the same.
  EXPECT_EQ(levelHash(""), 0xcbf29ce484222325ull);
  EXPECT_EQ(levelHash("a"), 0xaf63dc4c8601ec8cull);
  EXPECT_TRUE(outcomeMismatch(replay, Outcome{Outcome::Completed, ""}, std::nextafter(0.051, 1.0)))
      << "a time one bit off is another time";
}

// A FIFO, which must not be waited on, is refused by tests/sim/replays.sh; a saved replay is
// loaded whole, and a missing best run found missing, by the KeptRuns tests.
TEST(ReplayFile, ReadsOnlyRegularFiles) {
  TempDir dir;
  mkdir(dir.file("folder.rpl").c_str(), 0755);
  writeFileBytes(dir.file("damaged.rpl"), bytesOf(walkThenJump()).substr(0, 30));
  writeFileBytes(dir.file("huge.rpl"), encodeReplay(walkThenJumpReplay()) + std::string(kMaximumReplayBytes, '\0'));
  struct {
    const char* name;
    bool unreadable;  // else damaged
    std::string problem;
  } const rows[] = {
      {"damaged.rpl/7.rpl", true, "cannot read: Not a directory"},
      {"folder.rpl", true, "cannot read: Is a directory"},
      {"huge.rpl", true, "larger than 3145728 bytes"},
      {"damaged.rpl", false, "byte 24: cut short in the elapsed time"},
      {"none.rpl", false, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Result<Replay> found = loadReplay(dir.file(row.name));
    ASSERT_FALSE(found.ok());
    EXPECT_EQ(isUnreadable(found), row.unreadable);
    EXPECT_EQ(isMissing(found), row.problem.empty());
    EXPECT_EQ(found.problem().file, dir.file(row.name));
    EXPECT_EQ(row.problem.empty() ? "" : located(found.problem()), row.problem);
  }
}

// A first, a faster and a slower completion and a faster death or an abandoned run are ruled on
// by KeptRuns.TheLastRunAndTheFastestCompletionAreKept; these are the best runs it never meets.
TEST(ReplayFile, ABestRunGivesWayOnlyToAFasterCompletion) {
  Replay run = walkThenJumpReplay();
  run.elapsed = 10.0;
  auto stored = [&run](double elapsed, Outcome::Status status, uint64_t hash) {
    Replay best = run;
    best.elapsed = elapsed;
    best.outcome.status = status;
    best.levelHash = hash;
    return Result<Replay>(best);
  };
  const uint64_t same = run.levelHash, other = run.levelHash + 1;
  const Outcome::Status completed = Outcome::Completed;
  struct {
    const char* label;
    Result<Replay> best;
    bool replaces;
  } const rows[] = {
      {"a damaged best", fail(Failure::Malformed, "cut short"), true},
      {"a best that cannot be read", fail(Failure::CannotRead, "cannot read: Input/output error"), false},
      {"a best that is no file", fail(Failure::NotAFile, "cannot read: Is a directory"), false},
      {"a best as fast", stored(10.0, completed, same), false},
      {"a faster best of a changed level", stored(9.5, completed, other), true},
      {"a best that never completed", stored(9.5, Outcome::Dead, same), true},
  };
  for (const auto& row : rows) EXPECT_EQ(replacesBest(run, row.best), row.replaces) << row.label;
}

TEST(ReplayRecorder, KeepsEveryFrameInOrderInRuns) {
  // Steps as the game's clock hands them out: mostly the usual one, a remainder after a slow
  // frame; an input held across a change of step is two runs.
  const std::vector<ReplayFrame> played = {
      {kStep, kNone},      {kStep, kRight}, {kStep, kRight}, {0.0021, kRight}, {kStep, kRight},
      {kStep, kRightJump}, {kStep, kRight}, {kStep, kNone},  {kStep, kNone},
  };
  ReplayRecorder recorder("levels", 3, 42);
  for (const ReplayFrame& frame : played) recorder.add(frame.dt, frame.input);
  std::optional<Replay> replay = recorder.replay(Outcome{Outcome::Dead, "fell"}, 0.1);
  ASSERT_TRUE(replay);
  EXPECT_EQ(replay->runs.size(), 7u);

  Result<Replay> read = decodeReplay(encodeReplay(*replay));
  ASSERT_TRUE(read.ok());
  ReplayFrames frames(read.value().runs);
  ReplayFrame frame{};
  for (size_t i = 0; i < played.size(); ++i) {
    ASSERT_TRUE(frames.next(frame)) << "frame " << i;
    EXPECT_TRUE(sameBits(frame.dt, played[i].dt) && frame.input == played[i].input) << "frame " << i;
  }
  EXPECT_TRUE(frames.exhausted());
  EXPECT_FALSE(frames.next(frame));
  EXPECT_EQ(frames.given(), played.size());
}

TEST(ReplayRecorder, AHundredSecondRunTakesAtMost20KB) {
  // Worse than any player: a control changes in every frame, and a slow frame leaves a
  // remainder step once a second.
  ReplayRecorder recorder("levels", 16, 0);
  double elapsed = 0.0;
  for (int frame = 0; elapsed < 100.0; ++frame) {
    double dt = frame % 59 == 58 ? 0.0042 : kStep;
    recorder.add(dt, PlayInput{frame % 2 == 0, frame % 2 == 1, false, frame % 3 == 0, false, false});
    elapsed += dt;
  }
  std::optional<Replay> replay = recorder.replay(Outcome{Outcome::Completed, ""}, elapsed);
  ASSERT_TRUE(replay);
  EXPECT_LE(encodeReplay(*replay).size(), 20480u) << replay->frameCount() << " frames";
}

TEST(ReplayRecorder, ARunItCannotKeepIsSpoiled) {
  ReplayRecorder longest("levels", 1, 0);
  for (uint32_t frame = 0; frame < kMaximumReplayFrames; ++frame) longest.add(kStep, kNone);
  EXPECT_TRUE(longest.replay(Outcome{}, 1.0)) << "a run of the most frames a replay holds is kept";
  longest.add(kStep, kNone);
  EXPECT_FALSE(longest.replay(Outcome{}, 1.0)) << "one frame more is not";

  for (double dt : {0.0, kLongestReplayStep * 2, std::numeric_limits<double>::quiet_NaN()}) {
    ReplayRecorder recorder("levels", 1, 0);
    recorder.add(kStep, kNone);
    recorder.add(dt, kNone);
    recorder.add(kStep, kNone);
    EXPECT_FALSE(recorder.replay(Outcome{}, 0.0)) << "a step of " << dt << " s";
  }
}

}  // namespace
