#pragma once

#include <string>
#include <vector>

#include "app/display_scale.h"
#include "app/key_bindings.h"
#include "app/safe_file.h"

// The player's choices kept between runs, in a plain "key = value" file beside the progress:
//   music = yes | no
//   audio = yes | no      (no: the game starts silent, without looking for a sound device)
//   theme = <theme name>
//   window = windowed | fullscreen
//   vsync = yes | no      (vertical sync: one picture per refresh of the screen)
//   scaling = smooth | whole      (whole: the picture at the largest whole multiple that fits)
//   timer = yes | no      (the time shown while a level is played)
//   ghost = yes | no      (the best run shown beside the avatar)
//   music_volume = 0 | 10 | ... | 100      (per cent)
//   effects_volume = 0 | 10 | ... | 100    (per cent; 0 silences the sound effects)
//   game_speed = 50 | 60 | ... | 100      (per cent; an assist)
//   invincible = yes | no                 (an assist: only a fall kills)
//   hint = yes | no                       (an assist: a way through offered after three deaths)
//   key_left, key_right, key_up, key_down, key_jump, key_action = <key name>   (see keyName)
//   campaign = <folder name of the campaign chosen in the menu>
// A UTF-8 byte-order mark before the first line is skipped. Blank lines are skipped; comments
// (lines starting with '#') and the lines the game does not take (unknown keys, which a newer
// game may write, bad values, lines that are no "key = value") are kept, and written back after
// the game's own lines, so nothing the player wrote is lost by a save.
// Help for a player who finds a level too hard, all off by default. A run with any of them on
// completes and unlocks as any other and may earn the golden crown, but never the silver one,
// and never counts as the level's best time or best run.
struct Assists {
  // % of the normal pace: every update still steps the level by the same time, and the real
  // time each update takes grows, so a run plays and replays as it would at full speed.
  int gameSpeed = 100;
  bool invincible = false;  // spikes, force fields, feral baddies and crushing walls spare the avatar
  bool hint = false;        // after three deaths in a level, the campaign's way through it is offered

  bool any() const { return gameSpeed != 100 || invincible || hint; }
  bool operator==(const Assists& other) const {
    return gameSpeed == other.gameSpeed && invincible == other.invincible && hint == other.hint;
  }
};

constexpr int kSlowestGameSpeed = 50;  // %

struct Settings {
  bool music = true;
  bool audio = true;
  std::string theme = "Sky";
  bool fullScreen = false;
  bool vsync = false;
  Scaling scaling = Scaling::Smooth;
  bool timer = false;
  bool ghost = true;
  int musicVolume = 100;    // %
  int effectsVolume = 100;  // %
  KeyBindings keys;
  Assists assists;
  std::string campaign = "levels";     // the built-in campaign's folder name
  std::vector<std::string> keptLines;  // as the file gave them, without surrounding blanks
};

constexpr int kVolumeStep = 10;   // %
constexpr int kFullVolume = 100;  // %

// Reads settings text. A line that is not "key = value", an unknown key, or a known key with a
// value it cannot take leaves that choice as it was and is kept; gives one problem for each such
// line, naming it. Play keys that clash (two on one key, or one on a fixed key) all go back to
// their defaults, which is a problem too.
std::vector<std::string> parseSettings(const std::string& text, Settings& settings);
std::string formatSettings(const Settings& settings);

// The file: a missing file gives the defaults silently, a bad one what could be read and a line
// on standard output for each problem. Saving writes a temporary file and renames it over the old one; a
// failure prints one line and comes back with the reason.
Settings loadSettings(const std::string& path);
FileResult saveSettings(const Settings& settings, const std::string& path);

// Makes the sound effects, the music and the play controls follow the settings.
void useSettings(const Settings& settings);

extern const char* const kSettingsFile;  // "binhopper.cfg"
