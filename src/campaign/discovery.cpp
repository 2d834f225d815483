#include "campaign/discovery.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
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

// A pack whose folder name is another campaign's is listed with why, and none of its files read.
Campaign namedLikeAnother(const std::string& folder, CampaignOrigin origin, const std::string& problem) {
  Campaign campaign;
  campaign.folder = folder;
  campaign.folderName = fs::path(folder).filename().string();
  campaign.origin = origin;
  campaign.nameTaken = true;
  campaign.problems.push_back(folder + ": " + problem);
  return campaign;
}

Campaign packAt(const std::string& folder, CampaignOrigin origin, const CampaignPlaces& places) {
  Result<> named = checkFolderNameFree(fs::path(folder).filename().string(), places, folder);
  return named.ok() ? loadCampaign(folder, origin) : namedLikeAnother(folder, origin, named.problem().message);
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

CampaignPlaces campaignPlacesIn(const DataDirs& dirs) {
  fs::path data(dirs.data);
  return CampaignPlaces{(data / "levels").string(), (data / "packs").string(),
                        (fs::path(dirs.player) / "packs").string()};
}

Result<> checkFolderNameFree(const std::string& folderName, const CampaignPlaces& places, const std::string& folder) {
  const char* const shares =
      " (a pack of that name would share its progress and best runs): give the pack's folder "
      "another name";
  std::string builtIn = fs::path(places.builtIn).lexically_normal().filename().string();
  if (folderName == builtIn && (folder.empty() || !sameFolder(folder, places.builtIn)))
    return fail(Failure::Refused, "the folder name '" + folderName + "' belongs to the built-in campaign" + shares);
  std::string shipped = places.shippedPacks + "/" + folderName;
  std::error_code error;
  bool isShipped = !folderName.empty() && folderName[0] != '.' && fs::is_directory(shipped, error);
  if (isShipped && (folder.empty() || !sameFolder(folder, shipped)))
    return fail(Failure::Refused,
                "the folder name '" + folderName + "' belongs to the pack shipped in " + shipped + shares);
  return {};
}

std::vector<Campaign> findCampaigns(const CampaignPlaces& places) {
  std::vector<Campaign> campaigns;
  campaigns.push_back(loadCampaign(places.builtIn, CampaignOrigin::BuiltIn));
  for (const std::string& name : packFolderNames(places.shippedPacks))
    campaigns.push_back(packAt(places.shippedPacks + "/" + name, CampaignOrigin::Shipped, places));
  if (!sameFolder(places.shippedPacks, places.playerPacks)) {
    for (const std::string& name : packFolderNames(places.playerPacks))
      campaigns.push_back(packAt(places.playerPacks + "/" + name, CampaignOrigin::Player, places));
  }
  std::stable_sort(campaigns.begin(), campaigns.end(), listedBefore);
  return campaigns;
}
