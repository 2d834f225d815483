#include "campaign/campaign_choice.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "app/data_dirs.h"

namespace {

// A pack's record, read from progress/<folder name>.dat with the pack's own target times.
std::unique_ptr<Progress> packRecord(const Campaign& campaign) {
  auto record = std::make_unique<Progress>();
  record->path = playerFile(campaign.progressFile());
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(record->path).parent_path(), error);
  for (const CampaignLevel& level : campaign.levels) record->targets.push_back(level.target);
  record->load(campaign.levelCount());
  return record;
}

}  // namespace

CampaignChoice::CampaignChoice(std::vector<Campaign> campaigns) : campaigns_(std::move(campaigns)) {
  if (campaigns_.empty() || campaigns_.front().origin != CampaignOrigin::BuiltIn) {
    Campaign builtIn;
    builtIn.folderName = "levels";
    builtIn.origin = CampaignOrigin::BuiltIn;
    campaigns_.insert(campaigns_.begin(), builtIn);
  }
  packRecords_.resize(campaigns_.size());
  progress().ensureRecords(campaigns_.front().levelCount());
}

// A pack named as another campaign gets an empty record that is never saved, so the other
// campaign's progress file is neither read nor written for it.
Progress& CampaignChoice::record() {
  if (chosen_ == 0) return progress();
  if (!packRecords_[chosen_]) {
    const Campaign& campaign = campaigns_[chosen_];
    packRecords_[chosen_] = campaign.nameTaken ? std::make_unique<Progress>() : packRecord(campaign);
  }
  return *packRecords_[chosen_];
}

void CampaignChoice::choose(const std::string& folderName) {
  chosen_ = 0;
  for (size_t i = 0; i < campaigns_.size(); ++i) {
    if (campaigns_[i].folderName == folderName && !campaigns_[i].nameTaken) {
      chosen_ = i;
      return;
    }
  }
}

void CampaignChoice::next() { chosen_ = (chosen_ + 1) % campaigns_.size(); }

void CampaignChoice::refresh(std::vector<Campaign> found) {
  std::string chosenName = campaign().folderName;
  savePackRecords();
  *this = CampaignChoice(std::move(found));
  choose(chosenName);
}

void CampaignChoice::savePackRecords() const {
  for (size_t i = 0; i < packRecords_.size(); ++i) {
    if (packRecords_[i] && !campaigns_[i].nameTaken) packRecords_[i]->save();
  }
}

const std::string& levelName(const Campaign& campaign, int levelIndex) {
  static const std::string none;
  if (levelIndex < 0 || levelIndex >= campaign.levelCount()) return none;
  return campaign.levels[levelIndex].name;
}
