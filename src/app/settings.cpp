#include "app/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "app/music.h"
#include "app/safe_file.h"
#include "app/sound.h"

const char* const kSettingsFile = "binhopper.cfg";

namespace {

constexpr size_t kLargestSettingsBytes = 64u << 10;  // a few lines are all a settings file holds

std::string trimmed(const std::string& text) {
  const char* const blanks = " \t\r";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool readChoice(const std::string& value, const char* yes, const char* no, bool& choice) {
  if (value == yes || value == no) {
    choice = value == yes;
    return true;
  }
  return false;
}

// 0 to 100 in steps of 10.
bool readVolume(const std::string& value, int& volume) {
  if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos) return false;
  int read = std::stoi(value);
  if (read > kFullVolume || read % kVolumeStep != 0) return false;
  volume = read;
  return true;
}

bool readKey(const std::string& key, const std::string& value, KeyBindings& keys) {
  for (int i = 0; i < kPlayKeyCount; ++i) {
    auto playKey = static_cast<PlayKey>(i);
    if (key != std::string("key_") + playKeyName(playKey)) continue;
    int keyCode = keyCodeOfName(value);
    if (keyCode == 0) return false;
    keys[playKey] = keyCode;
    return true;
  }
  return true;
}

// One known or unknown key; false when a known key gets a value it cannot take.
bool apply(const std::string& key, const std::string& value, Settings& settings) {
  if (key == "music") return readChoice(value, "yes", "no", settings.music);
  if (key == "window") return readChoice(value, "fullscreen", "windowed", settings.fullScreen);
  if (key == "vsync") return readChoice(value, "yes", "no", settings.vsync);
  if (key == "timer") return readChoice(value, "yes", "no", settings.timer);
  if (key == "ghost") return readChoice(value, "yes", "no", settings.ghost);
  if (key == "music_volume") return readVolume(value, settings.musicVolume);
  if (key == "effects_volume") return readVolume(value, settings.effectsVolume);
  if (key == "theme") {
    if (value.empty()) return false;
    settings.theme = value;
    return true;
  }
  // A campaign that is no longer there is the menu's to handle; only an empty name is no name.
  if (key == "campaign") {
    if (!value.empty()) settings.campaign = value;
    return true;
  }
  return readKey(key, value, settings.keys);
}

const char* yesNo(bool choice) { return choice ? "yes" : "no"; }

}  // namespace

bool parseSettings(const std::string& text, Settings& settings, std::string& problem) {
  Settings read;
  problem.clear();
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    size_t equals = line.find('=');
    std::string key = equals == std::string::npos ? "" : trimmed(line.substr(0, equals));
    if ((key.empty() || !apply(key, trimmed(line.substr(equals + 1)), read)) && problem.empty()) {
      problem = "line " + std::to_string(number) + " is not a valid 'key = value'";
    }
  }
  if (!usable(read.keys)) {
    read.keys = KeyBindings();
    if (problem.empty()) problem = "two play keys share a key, or one has a fixed key";
  }
  settings = read;
  return problem.empty();
}

std::string formatSettings(const Settings& settings) {
  std::string text = std::string("music = ") + yesNo(settings.music) + "\ntheme = " + settings.theme +
                     "\nwindow = " + (settings.fullScreen ? "fullscreen" : "windowed") +
                     "\nvsync = " + yesNo(settings.vsync) + "\ntimer = " + yesNo(settings.timer) +
                     "\nghost = " + yesNo(settings.ghost) + "\nmusic_volume = " + std::to_string(settings.musicVolume) +
                     "\neffects_volume = " + std::to_string(settings.effectsVolume) +
                     "\ncampaign = " + settings.campaign + "\n";
  for (int i = 0; i < kPlayKeyCount; ++i) {
    text += std::string("key_") + playKeyName(static_cast<PlayKey>(i)) + " = " + keyName(settings.keys.keys[i]) + "\n";
  }
  return text;
}

Settings loadSettings(const std::string& path) {
  Settings settings;
  std::string text, problem;
  FileResult read = readWholeFile(path, text, kLargestSettingsBytes);
  if (read.missing) return settings;
  if (!read.ok) {
    std::printf("Ignoring settings file '%s': %s.\n", path.c_str(), read.reason.c_str());
  } else if (!parseSettings(text, settings, problem)) {
    std::printf("Settings file '%s': %s; the default is used there.\n", path.c_str(), problem.c_str());
  }
  std::fflush(stdout);
  return settings;
}

// The last game to save wins, but a file that could not have been read (too large, not a
// regular file, no permission) is never replaced.
FileResult saveSettings(const Settings& settings, const std::string& path) {
  FileResult written = updateFile(path, kLargestSettingsBytes, [&](const FoundFile& found) {
    if (found.bytes.size() > kLargestSettingsBytes) return Merged::refuse(std::strerror(EFBIG));
    return Merged::write(formatSettings(settings));
  });
  if (written.ok) return written;
  std::printf("%s\n", failedSaveLine("settings", written).c_str());
  std::fflush(stdout);
  return written;
}

void useSettings(const Settings& settings) {
  setEffectsVolume(static_cast<float>(settings.effectsVolume) / kFullVolume);
  setMusicVolume(static_cast<float>(settings.musicVolume) / kFullVolume);
  useKeyBindings(settings.keys);
}
