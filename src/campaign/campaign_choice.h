#pragma once

#include <memory>
#include <string>
#include <vector>

#include "campaign/campaign.h"
#include "campaign/progress.h"

// The campaigns the menu offers, the one chosen, and the progress record of each. The built-in
// campaign's record is the process's one record (binhopper.dat); a pack's is read from its own
// file in the player directory the first time the pack is chosen, and kept while the menu lives.
class CampaignChoice {
 public:
  // The built-in campaign comes first, as discovery lists it; with none, an empty one stands in.
  explicit CampaignChoice(std::vector<Campaign> campaigns);

  const Campaign& campaign() const { return campaigns_[chosen_]; }
  Progress& record();
  const std::vector<Campaign>& campaigns() const { return campaigns_; }
  size_t chosen() const { return chosen_; }

  // The first campaign of that folder name whose name is not taken from another, or the
  // built-in one when there is none such: "levels" is always the built-in campaign.
  void choose(const std::string& folderName);
  // The next campaign in the list, after the last the first.
  void next();
  // The campaigns found again (a pack made in the editor or installed meanwhile), the choice
  // kept by folder name. The pack records read so far are saved, and read afresh when chosen.
  void refresh(std::vector<Campaign> found);
  // Writes every pack record read so far (the built-in record is start-up's to save).
  void savePackRecords() const;

 private:
  std::vector<Campaign> campaigns_;
  std::vector<std::unique_ptr<Progress>> packRecords_;  // by campaign; null until chosen
  size_t chosen_ = 0;
};

// A campaign level's name as a button's hover information and the banner show it; the level
// with no name in pack.txt has none.
const std::string& levelName(const Campaign& campaign, int levelIndex);
