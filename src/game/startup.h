#pragma once

// The program's entry: brings up the library in its fixed order, opens the display, runs the
// one top-level state, then shuts down. Returns the process exit status.
int runGame(int argc, char** argv);
