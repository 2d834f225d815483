#pragma once

#include <string>

#include "app/key_bindings.h"
#include "app/safe_file.h"

// The player's choices kept between runs, in a plain "key = value" file beside the progress:
//   music = yes | no
//   theme = <theme name>
//   window = windowed | fullscreen
//   vsync = yes | no      (vertical sync: one picture per refresh of the screen)
//   timer = yes | no      (the time shown while a level is played)
//   ghost = yes | no      (the best run shown beside the avatar)
//   music_volume = 0 | 10 | ... | 100      (per cent)
//   effects_volume = 0 | 10 | ... | 100    (per cent; 0 silences the sound effects)
//   key_left, key_right, key_up, key_down, key_jump, key_action = <key name>   (see keyName)
//   campaign = <folder name of the campaign chosen in the menu>
// Blank lines and lines starting with '#' are skipped; unknown keys are ignored so that an
// older game can read a newer file.
struct Settings {
  bool music = true;
  std::string theme = "Sky";
  bool fullScreen = false;
  bool vsync = false;
  bool timer = false;
  bool ghost = true;
  int musicVolume = 100;    // %
  int effectsVolume = 100;  // %
  KeyBindings keys;
  std::string campaign = "levels";  // the built-in campaign's folder name
};

constexpr int kVolumeStep = 10;   // %
constexpr int kFullVolume = 100;  // %

// Reads settings text. A line that is not "key = value", or a known key with a value it cannot
// take, leaves that choice at its default and the rest as read: gives false and names the first
// such line in problem. Play keys that clash (two on one key, or one on a fixed key) all go back
// to their defaults.
bool parseSettings(const std::string& text, Settings& settings, std::string& problem);
std::string formatSettings(const Settings& settings);

// The file: a missing file gives the defaults silently, a bad one what could be read and one
// line on standard output. Saving writes a temporary file and renames it over the old one; a
// failure prints one line and comes back with the reason.
Settings loadSettings(const std::string& path);
FileResult saveSettings(const Settings& settings, const std::string& path);

// Makes the sound effects, the music and the play controls follow the settings.
void useSettings(const Settings& settings);

extern const char* const kSettingsFile;  // "binhopper.cfg"
