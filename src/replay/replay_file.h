#pragma once

#include <string>

#include "app/safe_file.h"
#include "replay/replay.h"

// Replay files, laid out in docs/replays.md: a header, then the frames as runs of equal step
// and input.

std::string encodeReplay(const Replay& replay);
// Reads a replay from a file's bytes, checking every field and the limits. The first problem
// (Failure::Malformed) names the byte it lies at; located() tells it as "byte N: what is wrong".
Result<Replay> decodeReplay(const std::string& bytes);

// Reads a replay file without ever waiting: a FIFO, a device or a folder in its place is
// unreadable, as is a file of more than kMaximumReplayBytes. The problem sorts what was found:
// nothing (Failure::Missing), a damaged replay (Failure::Malformed, with its byte), or a file
// that cannot be read (any other kind; its message "cannot read: ..." or "larger than ...").
Result<Replay> loadReplay(const std::string& path);
// No file there at all; a file there that could not be read, as opposed to none or a damaged one.
bool isMissing(const Result<Replay>& found);
bool isUnreadable(const Result<Replay>& found);

// Writes the replay through the safe writer, making its folder when it is missing; the old
// file stays whole until the new one is.
Result<> saveReplay(const std::string& path, const Replay& replay);

// The level file's hash, read without waiting as a replay is; the problem says why it cannot be
// read.
Result<uint64_t> hashLevelFile(const std::string& path);

// Whether a finished run takes the place of its level's stored best run: it completed the level,
// and the stored run is missing, damaged, recorded on another version of the level (so it can be
// neither watched nor raced) or slower. An equal time keeps the stored run, and a stored file
// that exists but cannot be read is never replaced.
bool replacesBest(const Replay& run, const Result<Replay>& best);
