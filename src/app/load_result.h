#pragma once

#include <string>
#include <vector>

// What went wrong loading or writing a file, so that callers sort failures by kind and never by
// the words of the message.
enum class LoadError {
  None,
  CannotOpen,       // missing or unreadable
  NotAFile,         // a folder, named pipe or device where a file should be (its kind in detail)
  CannotWrite,      // opened, but the bytes could not all be written
  EmptyFile,        // a level file with nothing in it, where a level was to be edited
  UnknownRecord,    // a level record whose type code no kind has
  MalformedRecord,  // a level record cut short, or holding a value the game cannot use
  MissingResource,  // an image, sheet or font that cannot be loaded
  MissingFrame,     // a sheet with fewer pictures than the game asks for
};

// The outcome of loading or writing a file: ok, or the kind of failure, the path and the one
// line that says what is wrong, in the loader's own words. Loaders return it and never end the
// program themselves.
struct LoadResult {
  LoadError error = LoadError::None;
  std::string path;
  std::string message;
  // For a level file that is not one: where reading stopped and why, in plain words ("it stops
  // at byte 0: unknown record 'ga'"); for a level that could not be written, the system's
  // reason ("No space left on device"); for what is not a file, its kind ("a folder").
  std::string detail;
  // A sheet's line has never ended in a line break; every other one does.
  bool endsLine = true;

  bool ok() const { return error == LoadError::None; }
};

LoadResult loadFailure(LoadError error, std::string path, std::string message, bool endsLine = true);

// The failure told to a player, naming the file: "levels/3.lv is not a level file (it stops at
// byte 0: unknown record 'ga')." Empty for a success.
std::string plainLoadFailure(const LoadResult& failure);
// What a player is shown of a failure: the plain sentence, then the loader's own line.
std::vector<std::string> loadFailureLines(const LoadResult& failure);

// Where a failure cannot travel back as a value (a resource asked for in a constructor, a level
// opened by a play state), it goes to the handler the program installed at start-up: the game
// and its tools print the line and end with status 1. Without a handler nothing is reported and
// the request yields nothing (a null resource, an empty level).
using LoadFailureHandler = void (*)(const LoadResult& failure);
void setLoadFailureHandler(LoadFailureHandler handler);
void reportLoadFailure(const LoadResult& failure);
