#pragma once

#include <string>

// The outcome of loading or writing a file: ok, or the path and the one line that says what is
// wrong, in the loader's own words. Loaders return it and never end the program themselves.
struct LoadResult {
  bool ok = true;
  std::string path;
  std::string message;
  // A sheet's line has never ended in a line break; every other one does.
  bool endsLine = true;
};

LoadResult loadFailure(std::string path, std::string message, bool endsLine = true);

// Where a failure cannot travel back as a value (a resource asked for in a constructor, a level
// opened by a play state), it goes to the handler the program installed at start-up: the game
// and its tools print the line and end with status 1. Without a handler nothing is reported and
// the request yields nothing (a null resource, an empty level).
using LoadFailureHandler = void (*)(const LoadResult& failure);
void setLoadFailureHandler(LoadFailureHandler handler);
void reportLoadFailure(const LoadResult& failure);
