// The settings reader on any text: what it accepts formats to text it reads back the same.
#include <cstdlib>
#include <string>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings settings;
  std::string problem;
  if (!parseSettings(std::string(reinterpret_cast<const char*>(data), size), settings, problem)) return 0;
  Settings again;
  if (!parseSettings(formatSettings(settings), again, problem)) std::abort();
  if (again.music != settings.music || again.theme != settings.theme || again.fullScreen != settings.fullScreen ||
      again.vsync != settings.vsync || again.timer != settings.timer || again.ghost != settings.ghost ||
      again.musicVolume != settings.musicVolume || again.effectsVolume != settings.effectsVolume ||
      !(again.keys == settings.keys)) {
    std::abort();
  }
  return 0;
}
