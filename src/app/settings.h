#pragma once

#include <string>

// The player's choices kept between runs, in a plain "key = value" file beside the progress:
//   music = yes | no
//   theme = <theme name>
//   window = windowed | fullscreen
//   vsync = yes | no      (vertical sync: one picture per refresh of the screen)
//   timer = yes | no      (the elapsed and the target time shown during play)
//   ghost = yes | no      (a level's best run raced by a ghost)
// Blank lines and lines starting with '#' are skipped; unknown keys are ignored so that an
// older game can read a newer file.
struct Settings {
  bool music = true;
  std::string theme = "Sky";
  bool fullScreen = false;
  bool vsync = false;
  bool timer = false;
  bool ghost = true;
};

// Reads settings text. A line that is not "key = value", or a known key with a value it
// cannot take, makes the whole text invalid: gives false and names the line in problem.
bool parseSettings(const std::string& text, Settings& settings, std::string& problem);
std::string formatSettings(const Settings& settings);

// The file: a missing file gives the defaults silently, a bad one the defaults and one line on
// standard output. Saving writes a temporary file and renames it over the old one.
Settings loadSettings(const std::string& path);
bool saveSettings(const Settings& settings, const std::string& path);

extern const char* const kSettingsFile;  // "binhopper.cfg"
