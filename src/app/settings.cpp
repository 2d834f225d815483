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
constexpr size_t kLongestShownText = 60;             // bytes of a line a message repeats
// An editor may start a UTF-8 file with it; it is no part of the first key.
const std::string kByteOrderMark = "\xEF\xBB\xBF";

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

// `lowest` to 100 in steps of 10.
bool readPercentage(const std::string& value, int& percentage, int lowest = 0) {
  if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos) return false;
  int read = std::stoi(value);
  if (read < lowest || read > kFullVolume || read % kVolumeStep != 0) return false;
  percentage = read;
  return true;
}

bool readScaling(const std::string& value, Scaling& scaling) {
  bool whole = scaling == Scaling::WholePixels;
  if (!readChoice(value, "whole", "smooth", whole)) return false;
  scaling = whole ? Scaling::WholePixels : Scaling::Smooth;
  return true;
}

enum class Line { Taken, BadValue, UnknownKey };

Line readKey(const std::string& key, const std::string& value, KeyBindings& keys) {
  for (int i = 0; i < kPlayKeyCount; ++i) {
    auto playKey = static_cast<PlayKey>(i);
    if (key != std::string("key_") + playKeyName(playKey)) continue;
    int keyCode = keyCodeOfName(value);
    if (keyCode == 0) return Line::BadValue;
    keys[playKey] = keyCode;
    return Line::Taken;
  }
  return Line::UnknownKey;
}

Line taken(bool valueTaken) { return valueTaken ? Line::Taken : Line::BadValue; }

// One known or unknown key.
Line apply(const std::string& key, const std::string& value, Settings& settings) {
  if (key == "music") return taken(readChoice(value, "yes", "no", settings.music));
  if (key == "audio") return taken(readChoice(value, "yes", "no", settings.audio));
  if (key == "window") return taken(readChoice(value, "fullscreen", "windowed", settings.fullScreen));
  if (key == "vsync") return taken(readChoice(value, "yes", "no", settings.vsync));
  if (key == "timer") return taken(readChoice(value, "yes", "no", settings.timer));
  if (key == "ghost") return taken(readChoice(value, "yes", "no", settings.ghost));
  if (key == "scaling") return taken(readScaling(value, settings.scaling));
  if (key == "music_volume") return taken(readPercentage(value, settings.musicVolume));
  if (key == "effects_volume") return taken(readPercentage(value, settings.effectsVolume));
  if (key == "game_speed") return taken(readPercentage(value, settings.assists.gameSpeed, kSlowestGameSpeed));
  if (key == "invincible") return taken(readChoice(value, "yes", "no", settings.assists.invincible));
  if (key == "hint") return taken(readChoice(value, "yes", "no", settings.assists.hint));
  if (key == "theme") {
    if (value.empty()) return Line::BadValue;
    settings.theme = value;
    return Line::Taken;
  }
  // A campaign that is no longer there is the menu's to handle; only an empty name is no name.
  if (key == "campaign") {
    if (value.empty()) return Line::BadValue;
    settings.campaign = value;
    return Line::Taken;
  }
  return readKey(key, value, settings.keys);
}

// A line's text as a message shows it: control bytes would garble the terminal.
std::string shown(const std::string& text) {
  std::string out = text.substr(0, kLongestShownText);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = '?';
  }
  return out.size() < text.size() ? out + "..." : out;
}

// Reads the line into the settings, or says why the line is kept rather than read.
Result<> readLine(int number, const std::string& line, Settings& settings) {
  size_t equals = line.find('=');
  std::string key = equals == std::string::npos ? "" : trimmed(line.substr(0, equals));
  std::string where = "line " + std::to_string(number) + " ('" + shown(line) + "')";
  if (key.empty()) return fail(Failure::Malformed, where + " is not a 'key = value'; it stays in the file");
  switch (apply(key, trimmed(line.substr(equals + 1)), settings)) {
    case Line::Taken:
      return {};
    case Line::BadValue:
      return fail(Failure::Malformed, where + " gives " + shown(key) +
                                          " a value it cannot take; the default is used, and the line stays in "
                                          "the file");
    case Line::UnknownKey:
      break;
  }
  return fail(Failure::UnknownRecord, where + " is no setting of this game; it stays in the file");
}

const char* yesNo(bool choice) { return choice ? "yes" : "no"; }

}  // namespace

std::vector<std::string> parseSettings(const std::string& text, Settings& settings) {
  Settings read;
  std::vector<std::string> problems;
  bool marked = text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0;
  std::istringstream lines(marked ? text.substr(kByteOrderMark.size()) : text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = trimmed(line);
    if (line.empty()) continue;
    Result<> taken = line[0] == '#' ? Result<>() : readLine(number, line, read);
    if (line[0] == '#' || !taken.ok()) read.keptLines.push_back(line);
    if (!taken.ok()) problems.push_back(taken.problem().message);
  }
  if (!usable(read.keys)) {
    read.keys = KeyBindings();
    problems.push_back("two play keys share a key, or one has a fixed key; the default keys are used");
  }
  settings = read;
  return problems;
}

std::string formatSettings(const Settings& settings) {
  std::string text =
      std::string("music = ") + yesNo(settings.music) + "\naudio = " + yesNo(settings.audio) +
      "\ntheme = " + settings.theme + "\nwindow = " + (settings.fullScreen ? "fullscreen" : "windowed") +
      "\nvsync = " + yesNo(settings.vsync) +
      "\nscaling = " + (settings.scaling == Scaling::WholePixels ? "whole" : "smooth") +
      "\ntimer = " + yesNo(settings.timer) + "\nghost = " + yesNo(settings.ghost) +
      "\nmusic_volume = " + std::to_string(settings.musicVolume) +
      "\neffects_volume = " + std::to_string(settings.effectsVolume) + "\ncampaign = " + settings.campaign +
      "\ngame_speed = " + std::to_string(settings.assists.gameSpeed) +
      "\ninvincible = " + yesNo(settings.assists.invincible) + "\nhint = " + yesNo(settings.assists.hint) + "\n";
  for (int i = 0; i < kPlayKeyCount; ++i) {
    text += std::string("key_") + playKeyName(static_cast<PlayKey>(i)) + " = " + keyName(settings.keys.keys[i]) + "\n";
  }
  for (const std::string& line : settings.keptLines) text += line + "\n";
  return text;
}

Settings loadSettings(const std::string& path) {
  Settings settings;
  Result<std::string> read = readWholeFile(path, kLargestSettingsBytes);
  if (!read.ok() && read.kind() == Failure::Missing) return settings;
  if (!read.ok()) std::printf("Ignoring settings file '%s': %s.\n", path.c_str(), read.problem().message.c_str());
  std::vector<std::string> problems = read.ok() ? parseSettings(read.value(), settings) : std::vector<std::string>{};
  for (const std::string& problem : problems) std::printf("Settings file '%s': %s.\n", path.c_str(), problem.c_str());

  std::fflush(stdout);
  return settings;
}

// The last game to save wins, but a file that could not have been read (too large, not a
// regular file, no permission) is never replaced.
Result<> saveSettings(const Settings& settings, const std::string& path) {
  Result<> written = updateFile(path, kLargestSettingsBytes, [&](const FoundFile& found) {
    if (found.bytes.size() > kLargestSettingsBytes) return Merged::refuse(std::strerror(EFBIG));
    return Merged::write(formatSettings(settings));
  });
  if (written.ok()) return written;
  std::printf("%s\n", failedSaveLine("settings", written.problem()).c_str());
  std::fflush(stdout);
  return written;
}

void useSettings(const Settings& settings) {
  setEffectsVolume(static_cast<float>(settings.effectsVolume) / kFullVolume);
  setMusicVolume(static_cast<float>(settings.musicVolume) / kFullVolume);
  useKeyBindings(settings.keys);
}
