#pragma once

#include <string>
#include <vector>

#include "app/data_dirs.h"
#include "campaign/campaign.h"

// Where campaigns are looked for.
struct CampaignPlaces {
  std::string builtIn;       // the built-in campaign's folder
  std::string shippedPacks;  // packs that come with the game
  std::string playerPacks;   // the player's own and installed packs
};

// At most this many packs are read from each packs folder, the first by folder name, so a
// folder of thousands keeps the menu quick.
constexpr int kMaximumPacksPerFolder = 64;

// "levels", "packs" and the player directory's "packs", as the game sees them once it works
// in its data directory.
CampaignPlaces gameCampaignPlaces();
// The same places, named absolutely, for code that does not work in the data directory (the
// installer and the level tool).
CampaignPlaces campaignPlacesIn(const DataDirs& dirs);

// Whether a pack may have this folder name; the problem (Failure::Refused) says why not. The folder name keys a
// campaign's progress file and replays, so the built-in campaign's and every shipped pack's
// belong to them alone. `folder`, when given, is where the pack lies or goes: the owner itself
// (checked in place, or a game run from its source tree, whose packs are the shipped ones)
// keeps its name.
Result<> checkFolderNameFree(const std::string& folderName, const CampaignPlaces& places,
                             const std::string& folder = "");

// The built-in campaign first, then every pack by title (letters compared without case), then
// by folder name. A pack is a folder of a packs folder whose name does not start with '.'; a
// missing or empty packs folder adds none. A pack whose folder name is taken (a player's pack
// named as a shipped one, or any pack named as the built-in campaign) is listed as broken with
// no levels and `nameTaken`, none of its files read; when both places are one folder (a game run
// from its source tree) its packs are listed once. Broken campaigns are listed too, with their
// problems.
std::vector<Campaign> findCampaigns(const CampaignPlaces& places);
