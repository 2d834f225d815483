#pragma once

#include "app/load_result.h"

// The only places that end the program on a failure; library code returns its failures.

// Prints "FATAL: <message>.\n" to standard output and ends the process with status 1.
[[noreturn]] void fatal(const char* message);

// Prints the loader's line as it stands ("CANNOT OPEN '<path>'!!!", "Unable to find resource:
// '<path>'." ...) and ends the process with status 1. The game and the tools install it as
// their load-failure handler.
[[noreturn]] void endWithLoadFailure(const LoadResult& failure);
