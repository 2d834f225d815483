#include "editor/test_play.h"

#include <filesystem>
#include <system_error>

#include "campaign/campaign.h"

namespace {
const char* const kBuiltInFolder = "levels";
}

PlayedLevel testPlayOf(const std::string& editedFile, Progress& session) {
  namespace fs = std::filesystem;
  PlayedLevel tested;
  tested.kind = PlayKind::TestPlay;
  tested.record = &session;
  session.targets.clear();
  fs::path folder = fs::path(editedFile).parent_path();
  std::error_code error;
  if (!fs::is_regular_file(folder / "pack.txt", error)) return tested;
  bool builtIn = folder.filename() == kBuiltInFolder;
  Campaign campaign = loadCampaign(folder.string(), builtIn ? CampaignOrigin::BuiltIn : CampaignOrigin::Player);
  for (const CampaignLevel& level : campaign.levels) session.targets.push_back(level.target);
  for (const CampaignLevel& level : campaign.levels) {
    if (!fs::equivalent(level.path, editedFile, error) || error) continue;
    tested.campaign = campaign.folderName;
    tested.number = level.number;
    session.ensureRecords(campaign.levelCount());
  }
  return tested;
}
