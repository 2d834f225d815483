// The settings reader on any text: what it reads, with the lines it keeps, formats to text that
// reads back the same, keeping the same lines, and a save of that text keeps it as it is.
#include <cstdlib>
#include <string>

#include "app/settings.h"

namespace {

bool sameChoices(const Settings& a, const Settings& b) {
  return a.music == b.music && a.theme == b.theme && a.fullScreen == b.fullScreen && a.vsync == b.vsync &&
         a.timer == b.timer && a.ghost == b.ghost && a.musicVolume == b.musicVolume &&
         a.effectsVolume == b.effectsVolume && a.keys == b.keys && a.campaign == b.campaign &&
         a.keptLines == b.keptLines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings settings;
  parseSettings(std::string(reinterpret_cast<const char*>(data), size), settings);
  const std::string text = formatSettings(settings);
  Settings again;
  parseSettings(text, again);
  if (!sameChoices(again, settings) || formatSettings(again) != text) std::abort();
  return 0;
}
