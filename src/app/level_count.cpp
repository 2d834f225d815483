#include "app/level_count.h"

#include <cstdio>
#include <string>

int countLevels(const char* directory) {
  int count = 0;
  for (int n = 1;; ++n) {
    std::string path = std::string(directory) + "/" + std::to_string(n) + ".lv";
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return count;
    std::fclose(file);
    count = n;
  }
}
