#include "campaign/discovery.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <system_error>

#include "app/data_dirs.h"

namespace fs = std::filesystem;

namespace {

// Entries looked at in one packs folder before giving up on the rest.
constexpr int kMaximumEntriesScanned = 4096;

// The names of the pack folders, sorted, at most kMaximumPacksPerFolder of them.
std::vector<std::string> packFolderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  int scanned = 0;
  for (; !error && entries != fs::directory_iterator() && scanned < kMaximumEntriesScanned;
       entries.increment(error), ++scanned) {
    std::string name = entries->path().filename().string();
    std::error_code typeError;
    if (name[0] != '.' && entries->is_directory(typeError)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  if (names.size() > static_cast<size_t>(kMaximumPacksPerFolder)) names.resize(kMaximumPacksPerFolder);
  return names;
}

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || fs::equivalent(a, b, error);
}

std::string lowerCase(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool listedBefore(const Campaign& a, const Campaign& b) {
  if ((a.origin == CampaignOrigin::BuiltIn) != (b.origin == CampaignOrigin::BuiltIn))
    return a.origin == CampaignOrigin::BuiltIn;
  std::string titleA = lowerCase(a.title()), titleB = lowerCase(b.title());
  if (titleA != titleB) return titleA < titleB;
  return a.folderName < b.folderName;
}

}  // namespace

CampaignPlaces gameCampaignPlaces() { return CampaignPlaces{"levels", "packs", playerFile("packs")}; }

std::vector<Campaign> findCampaigns(const CampaignPlaces& places) {
  // Folder and origin by folder name; a player's pack replaces a shipped one.
  std::map<std::string, std::pair<std::string, CampaignOrigin>> packs;
  for (const std::string& name : packFolderNames(places.shippedPacks))
    packs[name] = {places.shippedPacks + "/" + name, CampaignOrigin::Shipped};
  if (!sameFolder(places.shippedPacks, places.playerPacks)) {
    for (const std::string& name : packFolderNames(places.playerPacks))
      packs[name] = {places.playerPacks + "/" + name, CampaignOrigin::Player};
  }
  std::vector<Campaign> campaigns;
  campaigns.push_back(loadCampaign(places.builtIn, CampaignOrigin::BuiltIn));
  for (const auto& entry : packs) campaigns.push_back(loadCampaign(entry.second.first, entry.second.second));
  std::stable_sort(campaigns.begin(), campaigns.end(), listedBefore);
  return campaigns;
}
