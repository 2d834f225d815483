#include "app/command_line.h"

#include <cstring>

LaunchOptions parseCommandLine(int argc, const char* const* argv) {
  LaunchOptions options;
  if (argc >= 2) {
    options.fullScreen = std::strcmp(argv[1], "-fs") == 0;
    options.editor = std::strcmp(argv[1], "-editor") == 0 || std::strcmp(argv[1], "--editor") == 0;
  }
  // The editor takes the level to edit as its one operand.
  if (options.editor && argc >= 3 && argv[2][0] != '-') options.editorFile = argv[2];
  return options;
}
