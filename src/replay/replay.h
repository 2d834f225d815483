#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "entities/outcome.h"

// A replay is one run of a level kept as what the level's avatar read in each update: the step
// and the six play controls. The play is deterministic (the random numbers only choose looks:
// particles, clouds, stars, a sprite's frame), so these alone play the run again to the same
// end. Pause frames and the report panel are not part of a run. docs/replays.md gives the file.

// What one update reads from the avatar's play controls: the four arrows as held, jump and
// action as pressed in this update (their switches fire once per press).
struct PlayInput {
  bool left = false;
  bool right = false;
  bool up = false;
  bool down = false;
  bool jump = false;
  bool action = false;

  bool operator==(const PlayInput& other) const;
  bool operator!=(const PlayInput& other) const { return !(*this == other); }
};

struct ReplayFrame {
  double dt;  // s
  PlayInput input;
};

// Frames in a row with the same step and the same input.
struct FrameRun {
  double dt;  // s
  PlayInput input;
  uint32_t count;
};

// A run longer than this is not kept: over 74 minutes of the game's 0.017 s steps.
constexpr uint32_t kMaximumReplayFrames = 1u << 18;
// A frame costs at most 10 bytes in the file, so any replay within the frame limit fits.
constexpr size_t kMaximumReplayBytes = 3u << 20;
// The campaign's folder name and the death reason: at most a file name's length.
constexpr size_t kMaximumReplayNameBytes = 255;
constexpr int kMaximumReplayLevel = 255;  // a progress file holds at most 255 levels
// Steps a replay may hold, those binhopper-sim takes: a step moves time forward, and none is
// longer than any frame the game hands out by far.
constexpr double kShortestReplayStep = 1e-6;  // s
constexpr double kLongestReplayStep = 10.0;   // s

struct Replay {
  std::string campaign;    // the campaign's folder name ("levels" for the built-in one)
  int level = 1;           // the level's number, from 1
  uint64_t levelHash = 0;  // levelHash() of the level file's bytes
  // As the avatar's outcome when the run ended; a run left while still playing is abandoned.
  Outcome outcome;
  double elapsed = 0.0;  // s, the level's elapsed time when the run ended
  std::vector<FrameRun> runs;

  uint32_t frameCount() const;
};

// FNV-1a of 64 bits. A replay only has to notice that its level was edited: a run proves
// itself by being played again on the level's file, never by its hash.
uint64_t levelHash(const std::string& levelBytes);

// Nothing when the level file whose levelHash() is given holds the bytes the replay was recorded
// on, else "this replay was recorded on a different version of level N".
std::optional<std::string> levelMismatch(const Replay& replay, uint64_t levelFileHash);

// Nothing when a play of the replay ended as the replay says it did, else both ends:
// "it recorded status=2 reason=\"\" elapsed=12.5 but played to status=1 ...".
std::optional<std::string> outcomeMismatch(const Replay& replay, const Outcome& played, double elapsed);

// Where a level's runs are kept, relative to the player directory: its best run
// "replays/<campaign>/<N>.rpl" and its last run, won or lost, "replays/<campaign>/<N>.last.rpl".
std::string bestRunFile(const std::string& campaign, int level);
std::string lastRunFile(const std::string& campaign, int level);
// Where the best run of another version of the level goes when a run of the version now played
// takes its place: "replays/<campaign>/<N>.<level hash, 16 hex digits>.rpl".
std::string earlierVersionRunFile(const std::string& campaign, int level, uint64_t levelFileHash);
// The best run a campaign ships for a level: its solution, "<folder>/replays/<N>.rpl".
std::string shippedBestRunFile(const std::string& campaignFolder, int level);
