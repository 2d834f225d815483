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
// not complete the level; crowns=none, gold, or gold,silver as the solution earned them), then
// its proof's line
//   PROOF n=3 proven time=17.37 crowns=gold,silver
// (or "unproven", or "stale (...)" for a proof kept on another version of the level; with
// " suggested-target=21.8" when pack.txt gives the level no target and a run completed it), and
// last "PACK levels=N problems=P proven=R name=\"...\"". A proof that cannot be read or does
// not play to the end it recorded is a problem.
struct PackCheck {
  std::vector<std::string> lines;
  int problems = 0;
  int proven = 0;  // levels whose proof plays to its recorded completion

  bool passed() const { return problems == 0; }
};

// Checks the campaign in the folder, naming its files through shownAs (default: the folder).
// With `places`, a folder name that belongs to another campaign there is a problem (an installer
// that checks a copy names the place it installs to instead). Levels are built and played
// headless: the library must be up, and the game's pictures are not needed (with no
// load-failure handler installed, one that is missing is simply not loaded). The player's
// progress record is left as it was.
PackCheck checkPack(const std::string& folder, const std::string& shownAs = "", const CampaignPlaces* places = nullptr);
