#include "editor/campaign_form.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "campaign/campaign.h"
#include "campaign/discovery.h"
#include "campaign/pack_text.h"
#include "campaign/pack_writer.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> packFolders(const std::string& packsFolder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(packsFolder, error); !error && entry != fs::directory_iterator();
       entry.increment(error)) {
    std::error_code typeError;
    std::string name = entry->path().filename().string();
    if (isPlainName(name) && entry->is_directory(typeError)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

CampaignForm::CampaignForm(std::string packsFolder, std::string suggested)
    : packsFolder_(std::move(packsFolder)), name_(std::move(suggested)), packs_(packFolders(packsFolder_)) {}

std::string CampaignForm::label() const {
  if (askingNumber()) return format("Save as level (1 to %d) of %s", next_, name_.c_str());
  return "Save into the campaign folder " + packsFolder_ + "/";
}

std::string CampaignForm::keys() const {
  if (askingNumber()) return format("Enter: save (%d is its next level)   Escape: cancel", next_);
  return packs_.empty() ? "Type a new campaign's folder name   Enter: go on   Escape: cancel"
                        : "Tab: your next campaign   a new name makes a new one   Enter: go on   Escape: cancel";
}

std::string CampaignForm::offered() const { return askingNumber() ? std::to_string(next_) : name_; }

std::string CampaignForm::nextPack(const std::string& typed) const {
  if (packs_.empty()) return typed;
  auto after = std::upper_bound(packs_.begin(), packs_.end(), typed);
  return after == packs_.end() ? packs_.front() : *after;
}

std::string CampaignForm::answer(const std::string& text) {
  if (!askingNumber()) {
    std::string problem = folderNameProblem(text);
    if (problem.empty()) problem = takenFolderNameProblem(text, gameCampaignPlaces(), packsFolder_ + "/" + text);
    if (!problem.empty()) return problem;
    name_ = text;
    next_ = nextFreeLevel(packFolder());
    if (next_ == 0)
      return format("%s already holds %d levels, the most a campaign holds", text.c_str(), kMaximumLevels);
    return "";
  }
  int number = 0;
  bool digits = !text.empty() && text.size() <= 2 && text.find_first_not_of("0123456789") == std::string::npos;
  if (digits) number = std::stoi(text);
  if (number < 1 || number > next_) return format("a level number from 1 to %d", next_);
  number_ = number;
  return "";
}
