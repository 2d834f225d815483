#pragma once

#include <string>

#include "app/load_result.h"

// The only places that end the program on a failure; library code returns its failures.

// Prints "FATAL: <message>.\n" to standard output and ends the process with status 1.
[[noreturn]] void fatal(const char* message);
// The same, with a line of advice after it, on standard output and in the box alike.
[[noreturn]] void fatal(const char* message, const std::string& advice);

// Prints the loader's line as it stands ("CANNOT OPEN '<path>'!!!", "Unable to find resource:
// '<path>'." ...) and ends the process with status 1. For a missing picture, sheet or font a
// second line names the data directory searched (and BINHOPPER_DATA when set). The game and
// the tools install it as their load-failure handler.
[[noreturn]] void endWithLoadFailure(const LoadResult& failure);

// The game, started from a launcher, may have no terminal to print to: from now on the two
// above also show their message in a box on the desktop, unless standard output is a terminal,
// no display is named (DISPLAY, WAYLAND_DISPLAY) or BINHOPPER_NO_DIALOGS is set.
void showFailuresOnDesktop();
