#include "app/level_count.h"

#include <unistd.h>

#include <string>

#include "app/safe_file.h"

int countLevels(const char* directory) {
  int count = 0;
  for (int n = 1;; ++n) {
    int descriptor = -1;
    if (!openForReading(std::string(directory) + "/" + std::to_string(n) + ".lv", descriptor).ok) return count;
    close(descriptor);
    count = n;
  }
}
