#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/result.h"

// Whole-file reads and writes for the files players and authors hand us (levels, progress,
// scripts, settings, media). A failure names the path, and its message is the system's reason
// ("Is a directory", "not a regular file", strerror text) for the caller to put into its own.

// The line a failed save shows on screen and on standard output, naming the file and the
// system's reason: "Unable to save progress to '<path>': <reason>."
std::string failedSaveLine(const std::string& what, const Problem& failed);

// Far beyond any level, script or record; larger files are refused rather than read into memory.
constexpr std::size_t kLargestReadBytes = 64u << 20;

// What a reader takes besides a regular file. Only a tool reading a script named on its command
// line takes a pipe (process substitution); nothing the game finds by name ever does.
enum class Readable { RegularFile, RegularFileOrPipe };

// Opens a file for reading without waiting: a FIFO with no writer or a device never blocks the
// open, and anything but a regular file (or an accepted pipe) is refused as unreadable. On
// success the descriptor is blocking again and belongs to the caller.
// Gives the descriptor.
Result<int> openForReading(const std::string& path, Readable accepted = Readable::RegularFile);

// Reads at most `limit` bytes from the start of the file; a caller that must know whether the
// file is longer asks for one byte more than it accepts.
Result<std::string> readFileStart(const std::string& path, std::size_t limit,
                                  Readable accepted = Readable::RegularFile);

// Reads a file whole. A directory, a read error or more than `limit` bytes is a failure, never
// an empty or shortened file.
Result<std::string> readWholeFile(const std::string& path, std::size_t limit = kLargestReadBytes,
                                  Readable accepted = Readable::RegularFile);

// What a failed read of a player's or an author's file says, without the path: "cannot read:
// <reason>", or "larger than <limit> bytes" for a file beyond the reader's limit.
std::string readProblem(const Problem& failed, std::size_t limit);

// For the library's own loaders, which open files themselves and would wait forever on a FIFO:
// whether the path (links followed) is a regular file.
bool isRegularFile(const std::string& path);

// What is at the path when it is there but no regular file (links followed): "a folder", "a
// named pipe", "a device" or "a socket"; nothing for a regular file or nothing there.
std::optional<std::string> otherFileKind(const std::string& path);

// Whether the two paths name one existing file, by any name (links followed, hard links too):
// a tool refuses to write over a file it reads in the same command.
bool sameFile(const std::string& a, const std::string& b);

// Replaces the file at path with bytes so that at every moment the path holds either the
// old file or the new one, whole. A symbolic link is followed to its target, the target's
// permissions are kept, and anything that is not a regular file is refused. The bytes go to a
// temporary file whose name is this process's own, so writers never share one; the data and
// then the directory are synced before success is reported; on failure the temporary file is
// removed. Temporary files left by writers that were killed are removed after a success.
Result<> replaceFile(const std::string& path, const std::string& bytes);

// Gives the file at `from` (links followed) the second name `to`, replacing what `to` held:
// a copy of any size that costs no time or space, and stays whole when `from` is later
// replaced by a new file.
Result<> linkFile(const std::string& from, const std::string& to);

// What a locked update found at its path: no file, or its first bytes (one more than the
// update's limit when the file is larger).
struct FoundFile {
  bool exists = false;
  std::string bytes;
};

// What the update's merge decides after seeing the file.
struct Merged {
  enum class Action { Write, Keep, Refuse };
  Action action = Action::Keep;
  std::string bytes;   // Write: the file's new content
  std::string reason;  // Refuse: why nothing is written

  static Merged write(std::string bytes) { return Merged{Action::Write, std::move(bytes), ""}; }
  static Merged keep() { return Merged{}; }
  static Merged refuse(std::string reason) { return Merged{Action::Refuse, "", std::move(reason)}; }
};

// Read, merge, write, for files that several games may save at once (progress, settings): an
// advisory lock on "<file>.lock" beside the file (links followed) is held from the read to the
// rename, so no writer's update is lost between another's read and write. A file that exists
// but cannot be read is never handed to the merge nor written: the update fails with the
// reason. The merge may write other files (a copy of a damaged one) while the lock is held.
// Without the lock (a read-only directory) the merge still runs, but a write is refused.
Result<> updateFile(const std::string& path, std::size_t limit, const std::function<Merged(const FoundFile&)>& merge);

// A damaged player file is copied before anything replaces it: to the first of "<path>.bad",
// "<path>.bad.1" ... "<path>.bad.9" that already holds these bytes (another game set the same
// file aside), else to the first that is free. Every damaged file is kept, and the bound keeps a
// file damaged at every start from filling the disk: with all ten taken it fails, and the
// caller must then leave the damaged file alone. A file too large to have been read whole
// (`bytes` longer than `limit`) gets a second name instead of a copy of what was read. Gives
// the copy's path; a failure names the copy that could not be made.
Result<std::string> keepDamagedCopy(const std::string& path, const std::string& bytes, std::size_t limit);
// "A copy of the damaged file is in '<copy>'." or why there is none.
std::string damagedCopyLine(const Result<std::string>& copied);
