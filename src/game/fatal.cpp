#include "app/fatal.h"

#include <cstdio>
#include <cstdlib>

void fatal(const char* message) {
  std::printf("FATAL: %s.\n", message);
  std::fflush(stdout);
  std::exit(1);
}
