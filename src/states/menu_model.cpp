#include "states/menu_model.h"

#include <utility>

#include "campaign/progress.h"
#include "replay/proof.h"
#include "states/play_state.h"
#include "themes/themes.h"
#include "world/world.h"

namespace {

constexpr int kButtonsPerRow = 5;
constexpr double kLevelGridLeft = 55.0;     // px
constexpr double kLevelGridTop = 330.0;     // px
constexpr double kLevelColumnPitch = 40.0;  // px
constexpr double kLevelRowPitch = 50.0;     // px
constexpr double kLevelButtonSize = 30.0;   // px
constexpr size_t kProblemsShown = 6;        // of a broken campaign's, in the notice
const char* const kBuiltInWinner = "levels/winner.lv";
const char* const kBrokenMark = " (!)";  // after a broken campaign's name on its button

// The buttons beside the grid, in the focus's order, with their captions above them; the final
// button goes between the last of them and Quit.
struct FixedButton {
  MenuAction action;
  Box place;
  MenuText caption;  // empty text: none
};
const FixedButton kColumn[] = {
    {MenuAction::Theme, {550, 330, 750, 360}, {650, 295, "Select a theme:"}},
    {MenuAction::Music, {550, 400, 750, 430}, {650, 375, "Like the music?"}},
    {MenuAction::Campaign, {550, 470, 750, 500}, {650, 450, "Campaign:"}},
    {MenuAction::AddCampaign, {550, 503, 750, 527}, {0, 0, ""}},
    {MenuAction::Options, {550, 530, 750, 560}, {0, 0, ""}},
    {MenuAction::Editor, {550, 565, 750, 595}, {0, 0, ""}},
};
const FixedButton kHelp = {MenuAction::Help, {50, 530, 250, 560}, {0, 0, ""}};
const FixedButton kQuit = {MenuAction::Quit, {300, 530, 500, 560}, {0, 0, ""}};
const MenuText kGridCaption = {150, 295, "Play a level:"};
constexpr double kPointsX = 400.0;  // px
constexpr double kPointsY = 582.0;  // px

// Level button i and, after the last level, the final button share one grid of 30 x 30 squares.
Box gridPlace(int place) {
  double left = kLevelGridLeft + kLevelColumnPitch * (place % kButtonsPerRow);
  double top = kLevelGridTop + kLevelRowPitch * (place / kButtonsPerRow);
  return Box{left, top, left + kLevelButtonSize, top + kLevelButtonSize};
}

}  // namespace

int rememberedThemeIndex(const Settings& settings, unsigned unlockPoints) {
  for (int i = 0; i < kThemeCount; ++i) {
    bool unlocked = themes[i]->requiredPoints() <= static_cast<int>(unlockPoints);
    if (settings.theme == themes[i]->name() && unlocked) return i;
  }
  return 0;
}

MenuModel::MenuModel(std::vector<Campaign> found) : campaigns_(std::move(found)), themeLabel_(themes[0]->name()) {}

std::vector<MenuButton> MenuModel::buttons() {
  std::vector<MenuButton> shown;
  const Campaign& campaign = campaigns_.campaign();
  Progress& record = campaigns_.record();
  for (int i = 0; i < campaign.levelCount(); ++i) {
    shown.push_back({MenuAction::PlayLevel, i, gridPlace(i), std::to_string(i + 1), record.records.at(i).unlocked});
  }
  std::string campaignLabel = campaign.broken() ? campaign.title() + kBrokenMark : campaign.title();
  for (const FixedButton& button : kColumn) {
    std::string label = button.action == MenuAction::Theme         ? themeLabel_
                        : button.action == MenuAction::Music       ? (musicOn_ ? "Yes" : "No")
                        : button.action == MenuAction::Campaign    ? campaignLabel
                        : button.action == MenuAction::AddCampaign ? "Add a campaign\u2026"
                        : button.action == MenuAction::Editor      ? "Editor"
                                                                   : "Options";
    shown.push_back({button.action, -1, button.place, label, true});
  }
  if (record.tally().allCompleted)
    shown.push_back({MenuAction::FinalScreen, -1, gridPlace(campaign.levelCount()), "??", true});
  shown.push_back({kHelp.action, -1, kHelp.place, "Help", true});
  shown.push_back({kQuit.action, -1, kQuit.place, "Quit", true});
  return shown;
}

std::vector<MenuText> MenuModel::texts() {
  std::vector<MenuText> shown{kGridCaption};
  for (const FixedButton& button : kColumn) {
    if (!button.caption.text.empty()) shown.push_back(button.caption);
  }
  const LevelTally tally = campaigns_.record().tally();
  shown.push_back(
      {kPointsX, kPointsY,
       format("Unlock points: %d/%d", static_cast<int>(tally.points), static_cast<int>(tally.maximumPoints))});
  return shown;
}

void MenuModel::tell(const std::vector<std::string>& lines) {
  if (!noticeShown_) notice_.clear();
  if (!notice_.empty()) notice_.emplace_back();
  notice_.insert(notice_.end(), lines.begin(), lines.end());
  noticeShown_ = true;
  ++noticeRevision_;
}

// A locked theme is never made current.
void MenuModel::nextTheme() {
  int index = (themeIndex_ + 1) % kThemeCount;
  Theme* next = themes[index];
  int points = static_cast<int>(progress().unlockPoints());
  themeIndex_ = index;
  if (next->requiredPoints() <= points) {
    themeLabel_ = next->name();
    chosenTheme_ = index;
  } else {
    themeLabel_ = format("Locked (%d more)", next->requiredPoints() - points);
  }
}

void MenuModel::nextCampaign() {
  campaigns_.next();
  showCampaign();
  showProblems();
}

void MenuModel::useCampaign(const std::string& folderName) {
  campaigns_.choose(folderName);
  showCampaign();
  if (campaigns_.chosen() != 0) showProblems();
}

void MenuModel::refreshCampaigns(std::vector<Campaign> found) {
  campaigns_.refresh(std::move(found));
  showCampaign();
}

// Whether a level is proven is read from its proof's file, so it is read once per campaign
// shown rather than every frame the button is hovered.
const std::vector<std::string>& MenuModel::campaignSummaryLines() {
  if (!summary_.empty()) return summary_;
  const Campaign& campaign = campaigns_.campaign();
  int proven = 0;
  for (const CampaignLevel& level : campaign.levels) {
    if (level.playable() && levelProven(campaign.folder, level.number, level.path)) ++proven;
  }
  summary_ = campaignSummary(campaign, proven);
  return summary_;
}

// The installer's lines, as --install-pack prints them; the question names the keys that answer it.
void MenuModel::tellInstall(const CampaignInstall& outcome, const std::string& source) {
  if (outcome.installed) useCampaign(outcome.folderName);
  std::vector<std::string> lines = outcome.lines;
  if (outcome.alreadyInstalled) {
    lines.push_back("Y: replace it with " + source + "    N: keep the one installed");
    replacementAsked_ = source;
  }
  tell(lines);
}

// A campaign's record is read when the campaign is first chosen, and a damaged file says so then.
void MenuModel::showCampaign() {
  summary_.clear();
  Progress& record = campaigns_.record();
  if (!record.damageNote.empty()) tell(record.damageNote);
  record.damageNote.clear();
}

// A broken campaign is still offered: the levels that load can be played.
void MenuModel::showProblems() {
  const Campaign& campaign = campaigns_.campaign();
  if (!campaign.broken()) return;
  std::vector<std::string> lines{
      format("The campaign '%s' has problems; its levels that load can still be played:", campaign.title().c_str())};
  for (size_t i = 0; i < campaign.problems.size() && i < kProblemsShown; ++i) lines.push_back(campaign.problems[i]);
  if (campaign.problems.size() > kProblemsShown) {
    lines.push_back(format("... and %d more ('binhopper-level pack check' lists them all).",
                           static_cast<int>(campaign.problems.size() - kProblemsShown)));
  }
  tell(lines);
}

void MenuModel::apply(const Settings& remembered) {
  settings_ = remembered;
  musicOn_ = remembered.music;
  useTheme(rememberedThemeIndex(remembered, progress().unlockPoints()));
  useCampaign(remembered.campaign);
}

Settings MenuModel::settingsFor(bool fullScreen) const {
  Settings kept = settings_;
  kept.music = musicOn_;
  kept.theme = theme().name();
  kept.fullScreen = fullScreen;
  // A folder name that would break the settings file's lines is not remembered.
  const std::string& campaign = campaigns_.campaign().folderName;
  if (campaign.find_first_of("\r\n") == std::string::npos && !campaign.empty()) kept.campaign = campaign;
  return kept;
}

void MenuModel::useTheme(int index) {
  themeIndex_ = index;
  chosenTheme_ = index;
  themeLabel_ = theme().name();
}

Theme& MenuModel::theme() const { return *themes[chosenTheme_]; }

std::optional<PlayedLevel> MenuModel::level(int index) {
  const Campaign& campaign = campaigns_.campaign();
  if (index < 0 || index >= campaign.levelCount()) return std::nullopt;
  const CampaignLevel& level = campaign.levels[index];
  PlayedLevel played{PlayKind::Numbered, campaign.folderName, level.number, level.name, &campaigns_.record()};
  played.last = index + 1 == campaign.levelCount();
  return played;
}

bool MenuModel::finalScreenAfter(int index, PlayResult result) {
  return result == PlayResult::Next && index + 1 == campaigns_.campaign().levelCount() &&
         campaigns_.record().tally().allCompleted;
}

// R and Space after a death give "retry" and play the same level again; Space after a
// completion goes on to the next level whether or not it is unlocked.
std::optional<int> MenuModel::after(int index, PlayResult result) const {
  if (result == PlayResult::Menu) return std::nullopt;
  int next = result == PlayResult::Next ? index + 1 : index;
  if (next >= campaigns_.campaign().levelCount()) return std::nullopt;
  return next;
}

PlayedLevel MenuModel::finalScreen() {
  return PlayedLevel{PlayKind::FinalScreen, campaigns_.campaign().folderName, 0, "", &campaigns_.record()};
}

// A campaign without its own final screen ends on the built-in one.
std::string MenuModel::finalScreenFile() const {
  const Campaign& campaign = campaigns_.campaign();
  return campaign.winner.empty() ? kBuiltInWinner : campaign.winner;
}

BestRun MenuModel::bestRun(int index) {
  const Campaign& campaign = campaigns_.campaign();
  return findBestRun(campaign.folderName, index, levelFile(index), campaigns_.record().levelCompleted(index));
}

BestRun MenuModel::wayThrough(int index) { return findShippedRun(index, levelFile(index)); }

int MenuModel::deathsIn(int index) const {
  auto counted = deaths_.find({campaigns_.campaign().folderName, index});
  return counted == deaths_.end() ? 0 : counted->second;
}

void MenuModel::countDeath(int index) { ++deaths_[{campaigns_.campaign().folderName, index}]; }

PlayedLevel MenuModel::watched(int index) {
  return PlayedLevel{PlayKind::Watch, campaigns_.campaign().folderName, index + 1, "", &campaigns_.record()};
}
