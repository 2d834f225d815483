#pragma once

#include <string>

#include "campaign/progress.h"

// The campaign level a play state plays, given when the menu starts it: what keeps files per
// campaign and level reads the folder name and number here, and the results go to the record.
// The default is no numbered level of the built-in campaign (the menu's scene, the editor's test
// play, the tools), whose completions the record ignores.
struct PlayedLevel {
  std::string campaign = "levels";  // the campaign's folder name
  int number = 0;                   // from 1; 0 for a level that is no numbered one
  std::string name;                 // from pack.txt; empty when it gives none
  Progress* record = &progress();
  bool last = false;  // the campaign's last level: after it comes the final screen or the menu
};
