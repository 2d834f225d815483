#pragma once

// Counts the numbered level files "levels/1.lv", "levels/2.lv", ... up to the first one that
// does not open; gaps end the count. The directory is relative to the working directory.
int countLevels(const char* directory = "levels");
