#pragma once

#include <string>

// What the first command-line argument asks for. Only argv[1] is ever looked at, so
// "-fs" and "-editor" cannot be combined; the comparison is exact and case-sensitive.
struct LaunchOptions {
  bool fullScreen = false;
  bool editor = false;
  std::string editorFile;  // "-editor FILE.lv" or "--editor FILE.lv"; empty: the scratch level
};

LaunchOptions parseCommandLine(int argc, const char* const* argv);
