#pragma once

#include <string>
#include <vector>

#include "app/result.h"

// The failure told to a player, naming the file: "levels/3.lv is not a level file (it stops at
// byte 0: unknown record 'ga')."
std::string plainLoadFailure(const Problem& failure);
// What a player is shown of a failure: the plain sentence, then the loader's own line.
std::vector<std::string> loadFailureLines(const Problem& failure);

// Where a failure cannot travel back as a value (a resource asked for in a constructor, a level
// opened by a play state), it goes to the handler the program installed at start-up: the game
// and its tools print the line and end with status 1. Without a handler nothing is reported and
// the request yields nothing (a null resource, an empty level).
using LoadFailureHandler = void (*)(const Problem& failure);
void setLoadFailureHandler(LoadFailureHandler handler);
void reportLoadFailure(const Problem& failure);
