#pragma once

#include <string>
#include <vector>

#include "campaign/discovery.h"

// The longest solution replayed: about 17 minutes of play at the game's 0.017 s frame, beyond
// any target time pack.txt accepts.
constexpr int kLongestSolution = 60000;  // frames

// What an author's check of a pack prints, in order: the problems of pack.txt and of level
// files that do not load, then for each level its own problems (the level check's rules, its
// solution) and its line
//   LEVEL n=3 target=21.50 solution=17.37 crowns=gold,silver name="Loose Ends"
// (target=none when pack.txt gives none; solution=none without a script, =failed when it does
// not complete the level; crowns=none, gold, or gold,silver as the solution earned them), and
// last "PACK levels=N problems=P name=\"...\"".
struct PackCheck {
  std::vector<std::string> lines;
  int problems = 0;

  bool passed() const { return problems == 0; }
};

// Checks the campaign in the folder, naming its files through shownAs (default: the folder).
// With `places`, a folder name that belongs to another campaign there is a problem (an installer
// that checks a copy names the place it installs to instead). Levels are built and played, so
// the library must be up with its image and font add-ons, and media/ must be in the working
// directory. The player's progress record is left as it was.
PackCheck checkPack(const std::string& folder, const std::string& shownAs = "", const CampaignPlaces* places = nullptr);
