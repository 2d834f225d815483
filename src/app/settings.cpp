#include "app/settings.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "app/safe_file.h"

const char* const kSettingsFile = "binhopper.cfg";

namespace {

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

// One known or unknown key; false when a known key gets a value it cannot take.
bool apply(const std::string& key, const std::string& value, Settings& settings) {
  if (key == "music") return readChoice(value, "yes", "no", settings.music);
  if (key == "window") return readChoice(value, "fullscreen", "windowed", settings.fullScreen);
  if (key == "vsync") return readChoice(value, "yes", "no", settings.vsync);
  if (key == "timer") return readChoice(value, "yes", "no", settings.timer);
  if (key == "ghost") return readChoice(value, "yes", "no", settings.ghost);
  if (key == "theme") {
    settings.theme = value;
    return !value.empty();
  }
  return true;
}

}  // namespace

bool parseSettings(const std::string& text, Settings& settings, std::string& problem) {
  Settings read;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    size_t equals = line.find('=');
    std::string key = equals == std::string::npos ? "" : trimmed(line.substr(0, equals));
    if (key.empty() || !apply(key, trimmed(line.substr(equals + 1)), read)) {
      problem = "line " + std::to_string(number) + " is not a valid 'key = value'";
      return false;
    }
  }
  settings = read;
  return true;
}

std::string formatSettings(const Settings& settings) {
  return std::string("music = ") + (settings.music ? "yes" : "no") + "\ntheme = " + settings.theme +
         "\nwindow = " + (settings.fullScreen ? "fullscreen" : "windowed") +
         "\nvsync = " + (settings.vsync ? "yes" : "no") + "\ntimer = " + (settings.timer ? "yes" : "no") +
         "\nghost = " + (settings.ghost ? "yes" : "no") + "\n";
}

Settings loadSettings(const std::string& path) {
  Settings settings;
  std::string text, problem;
  FileResult read = readWholeFile(path, text);
  std::error_code error;
  if (!read.ok && !std::filesystem::exists(path, error)) return settings;
  if (!read.ok) problem = read.reason;
  if (read.ok && parseSettings(text, settings, problem)) return settings;
  std::printf("Ignoring settings file '%s': %s.\n", path.c_str(), problem.c_str());
  std::fflush(stdout);
  return settings;
}

bool saveSettings(const Settings& settings, const std::string& path) {
  FileResult written = replaceFile(path, formatSettings(settings));
  if (written.ok) return true;
  std::printf("Unable to save settings to '%s': %s.\n", path.c_str(), written.reason.c_str());
  std::fflush(stdout);
  return false;
}
