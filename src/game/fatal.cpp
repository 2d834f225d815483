#include "game/fatal.h"

#include <cstdio>
#include <cstdlib>

void fatal(const char* message) {
  std::printf("FATAL: %s.\n", message);
  std::fflush(stdout);
  std::exit(1);
}

void endWithLoadFailure(const LoadResult& failure) {
  std::printf(failure.endsLine ? "%s\n" : "%s", failure.message.c_str());
  std::fflush(stdout);
  std::exit(1);
}
