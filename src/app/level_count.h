#pragma once

// Counts the numbered level files "levels/1.lv", "levels/2.lv", ... up to the first one that
// cannot be opened for reading as a regular file (missing, unreadable, a directory, a FIFO or
// a device); gaps end the count. The directory is relative to the working directory.
int countLevels(const char* directory = "levels");
