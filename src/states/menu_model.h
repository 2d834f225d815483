#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "campaign/campaign.h"
#include "campaign/campaign_choice.h"
#include "campaign/played_level.h"
#include "replay/best_run.h"
#include "world/box.h"
#include "world/theme.h"

enum class PlayResult;

// What a button of the menu does.
enum class MenuAction { PlayLevel, FinalScreen, Theme, Music, Campaign, AddCampaign, Options, Editor, Help, Quit };

// One button as the menu shows it.
struct MenuButton {
  MenuAction action;
  int level;  // the level's index from 0 for PlayLevel, else -1
  Box place;
  std::string label;
  bool enabled;

  bool sameButton(const MenuButton& other) const { return action == other.action && level == other.level; }
};

// A line of text of the menu, centred on x with its top at y.
struct MenuText {
  double x;
  double y;
  std::string text;
};

// What installing a campaign from the menu came to, in the installer's own words (the installer
// lies above the menu, which is handed it).
struct CampaignInstall {
  std::vector<std::string> lines;  // the check's problems, then the outcome
  bool installed = false;
  bool alreadyInstalled = false;  // refused only because a pack of its folder name is there
  std::string folderName;
};

// The menu without a display: the campaigns and their records, the chosen theme and music, the
// buttons with what each shows and the order the focus walks them in, the notice, and which
// level a press plays and which comes after it. The title state draws it and carries out what
// it cannot do itself (a play, the options screen, the music).
class MenuModel {
 public:
  explicit MenuModel(std::vector<Campaign> found);

  // The level grid, the column on the right from the top, the final button once every level
  // is completed, Quit: the order the focus walks, whose first is where the focus first shows.
  std::vector<MenuButton> buttons();
  // The captions and the unlock points.
  std::vector<MenuText> texts();

  // Lines for the player (a level that cannot be loaded, a damaged progress file, a broken
  // campaign). Lines told while the notice shows are added to it after a blank one, so problems
  // found together show together; a click closes it.
  void tell(const std::vector<std::string>& lines);
  void closeNotice() { noticeShown_ = false; }
  bool noticeShown() const { return noticeShown_; }
  const std::vector<std::string>& notice() const { return notice_; }
  // Changes whenever lines are told.
  int noticeRevision() const { return noticeRevision_; }

  // Each press moves on to the next theme; a locked one names the points still missing and
  // leaves the theme in use. Themes unlock from the built-in campaign's points.
  void nextTheme();
  // Makes the theme of that index the one in use, locked or not (the drawing checks).
  void useTheme(int index);
  void switchMusic() { musicOn_ = !musicOn_; }
  // Shows the next campaign's levels; a broken one says why in the notice.
  void nextCampaign();
  // The campaigns found again, after the editor or an install: the choice stays.
  void refreshCampaigns(std::vector<Campaign> found);
  // What the campaign button's hover and focus tell of the campaign shown: its name, author,
  // description, level count and how many levels its author's runs prove.
  const std::vector<std::string>& campaignSummaryLines();
  // Tells how an install from the menu went; an installed pack is shown (the campaigns found
  // again first), and a pack already installed asks whether to replace it.
  void tellInstall(const CampaignInstall& outcome, const std::string& source);
  // The pack whose replacement is asked about, while the question shows; answering closes it.
  const std::optional<std::string>& replacementAsked() const { return replacementAsked_; }
  void answerReplacement() {
    replacementAsked_.reset();
    noticeShown_ = false;
  }
  // The campaign of that folder name (the built-in one when there is none such).
  void useCampaign(const std::string& folderName);
  // The remembered choices: theme, music, campaign, and those of the options screen. The menu's
  // scene takes the theme at the next update.
  void apply(const Settings& remembered);
  // The choices to remember, with the window mode of the moment.
  Settings settingsFor(bool fullScreen) const;

  Theme& theme() const;
  bool musicOn() const { return musicOn_; }
  CampaignChoice& campaigns() { return campaigns_; }
  // The options screen shows and changes them.
  Settings& settings() { return settings_; }

  // A numbered level of the campaign shown, as the menu plays it; none past the last level.
  std::optional<PlayedLevel> level(int index);
  const std::string& levelFile(int index) const { return campaigns_.campaign().levels[index].path; }
  // Where a sequence of plays goes after level `index` ended with `result`: the same level
  // again, the next one (unlocked or not), or none, back to the menu.
  std::optional<int> after(int index, PlayResult result) const;
  // Whether Space after level `index` leads to the final screen: the last level, with every
  // level completed, as its report said.
  bool finalScreenAfter(int index, PlayResult result);
  // The campaign's final screen, its own or the built-in one.
  PlayedLevel finalScreen();
  std::string finalScreenFile() const;
  // The level's best run to watch, or why there is none.
  BestRun bestRun(int index);
  // The hint's way through the level: the run its campaign ships, or why there is none.
  BestRun wayThrough(int index);
  // Deaths in each level of each campaign since the menu opened; the hint counts them.
  int deathsIn(int index) const;
  void countDeath(int index);
  PlayedLevel watched(int index);

 private:
  void showCampaign();
  void showProblems();

  CampaignChoice campaigns_;
  int themeIndex_ = 0;   // where the theme button's presses have got to
  int chosenTheme_ = 0;  // the theme in use
  std::string themeLabel_;
  bool musicOn_ = true;  // start-up has started the music before the menu is built
  Settings settings_;
  std::vector<std::string> notice_;
  bool noticeShown_ = false;
  std::optional<std::string> replacementAsked_;
  std::vector<std::string> summary_;  // of the campaign shown; empty until asked for
  int noticeRevision_ = 0;
  std::map<std::pair<std::string, int>, int> deaths_;  // by campaign folder and level index
};

// The theme the settings name if it is unlocked with these points, else Sky (index 0).
int rememberedThemeIndex(const Settings& settings, unsigned unlockPoints);
