#pragma once

#include <string>

#include "campaign/progress.h"

// What a play is for. It decides whether the level pauses and hides the pointer, what its report
// offers, and whether its results are recorded.
enum class PlayKind {
  Scene,        // the menu's live background, and the tools' plays of a level of no number
  Numbered,     // a campaign's level: paused, its completions and deaths recorded
  Watch,        // a recorded run of a campaign's level played back for the player to watch
  FinalScreen,  // the campaign's closing screen
  TestPlay,     // the editor's test of its level: paused, and left back to the editor
};

// The level a play state plays, given when it is started: what keeps files per campaign and
// level reads the folder name and number here, and the results go to the record. The default
// is a scene of the built-in campaign, whose completions the record ignores.
struct PlayedLevel {
  PlayKind kind = PlayKind::Scene;
  std::string campaign = "levels";  // the campaign's folder name
  int number = 0;                   // from 1 for a numbered or watched level; 0 otherwise
  std::string name;                 // from pack.txt; empty when it gives none
  Progress* record = &progress();
  bool last = false;  // the campaign's last level: after it comes the final screen or the menu

  // The level's index in the record, from 0; negative for a level of no number.
  int index() const { return number - 1; }
};
