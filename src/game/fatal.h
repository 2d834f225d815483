#pragma once

// Prints "FATAL: <message>.\n" to standard output and ends the process with status 1.
[[noreturn]] void fatal(const char* message);
