#include "app/command_line.h"

#include <cstring>

LaunchOptions parseCommandLine(int argc, const char* const* argv) {
  LaunchOptions options;
  if (argc >= 2) {
    options.fullScreen = std::strcmp(argv[1], "-fs") == 0;
    options.editor = std::strcmp(argv[1], "-editor") == 0;
  }
  return options;
}
