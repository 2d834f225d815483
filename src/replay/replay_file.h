#pragma once

#include <string>

#include "app/safe_file.h"
#include "replay/replay.h"

// Replay files, laid out in docs/replays.md: a header, then the frames as runs of equal step
// and input.

std::string encodeReplay(const Replay& replay);
// Reads a replay from a file's bytes, checking every field and the limits. "" on success, else
// the first problem as "byte N: what is wrong", and the replay is left as it was.
std::string decodeReplay(const std::string& bytes, Replay& replay);

// A replay file as it was found.
struct LoadedReplay {
  enum class State { Read, Missing, Unreadable, Damaged };
  State state = State::Missing;
  Replay replay;        // when Read
  std::string problem;  // otherwise: what is wrong, without the path ("byte 4: ...")

  bool read() const { return state == State::Read; }
};

// Reads a replay file without ever waiting: a FIFO, a device or a folder in its place is
// unreadable, as is a file of more than kMaximumReplayBytes.
LoadedReplay loadReplay(const std::string& path);

// Writes the replay through the safe writer, making its folder when it is missing; the old
// file stays whole until the new one is.
FileResult saveReplay(const std::string& path, const Replay& replay);

// The level file's hash, read without waiting as a replay is; false with the reason when it
// cannot be read.
FileResult hashLevelFile(const std::string& path, uint64_t& hash);

// Whether a finished run takes the place of its level's stored best run: it completed the level,
// and the stored run is missing, damaged, recorded on another version of the level (so it can be
// neither watched nor raced) or slower. An equal time keeps the stored run, and a stored file
// that exists but cannot be read is never replaced.
bool replacesBest(const Replay& run, const LoadedReplay& best);
