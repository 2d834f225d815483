#include "states/menu_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "campaign/pack_writer.h"
#include "replay/proof.h"
#include "replay/replay_file.h"
#include "states/play_state.h"
#include "unit/menu_files.h"

using namespace std::string_literals;

namespace {

class MenuTest : public MenuFiles {
 protected:
  std::unique_ptr<MenuModel> open() { return std::make_unique<MenuModel>(findCampaigns(gameCampaignPlaces())); }
};

// Each press moves on to the next theme; one the points do not reach names what is missing and
// leaves the theme in use, and the settings keep the theme in use. Themes unlock from the
// built-in campaign's points whichever campaign is shown.
TEST_F(MenuTest, LockedThemesAreNeverUsed) {
  // Levels completed with both crowns (of ten), then per press the label.
  const std::tuple<int, std::vector<std::string>> rows[] = {
      {0, {"Locked (6 more)", "Locked (12 more)", "Locked (18 more)", "Locked (24 more)", "Locked (30 more)", "Sky"}},
      {4, {"Sunset", "Mist", "Locked (6 more)", "Locked (12 more)", "Locked (18 more)", "Sky"}},
      {10, {"Sunset", "Mist", "Night", "Crooked", "Liquor"}},
  };
  for (const auto& [levels, labels] : rows) {
    SCOPED_TRACE(std::to_string(levels * 3) + " points");
    prepareFiles(10, 10, levels);
    auto menu = open();
    std::string chosen = "Sky";
    for (const std::string& label : labels) {
      menu->nextTheme();
      if (label.rfind("Locked", 0) != 0) chosen = label;
      EXPECT_EQ(buttonOf(*menu, MenuAction::Theme).label, label);
      EXPECT_EQ(menu->theme().name(), chosen);
      EXPECT_EQ(menu->settingsFor(false).theme, chosen) << "what the settings keep";
    }
  }
  preparePackFiles();
  for (int i = 0; i < 2; ++i) progress().recordCompletion(i, true, 1.0);
  auto menu = open();
  menu->nextCampaign();
  menu->nextTheme();
  EXPECT_EQ(menu->theme().name(), std::string("Sunset")) << "6 points of the built-in campaign";
}

// The final button appears once every level of the campaign is completed, even with no levels
// at all, in the grid's next place, overlapping no level button. A record beyond the levels
// (a run of a copy of the data with a 17th level left one) stays in the file but neither shows
// nor counts.
TEST_F(MenuTest, FinalButtonOnceEveryLevelIsCompleted) {
  prepareFiles(0, 0);
  EXPECT_TRUE(shows(*open(), MenuAction::FinalScreen)) << "with no levels at all it is there at once";

  prepareFiles(16, 16, 15);
  auto menu = open();
  EXPECT_FALSE(shows(*menu, MenuAction::FinalScreen)) << "before the last level is completed";
  progress().recordCompletion(15, false, 10.0);
  ASSERT_TRUE(shows(*menu, MenuAction::FinalScreen));
  const Box place = buttonOf(*menu, MenuAction::FinalScreen).place;
  for (const MenuButton& button : menu->buttons()) {
    if (button.action != MenuAction::PlayLevel) continue;
    const Box& other = button.place;
    EXPECT_TRUE(other.right <= place.left || place.right <= other.left || other.bottom <= place.top ||
                place.bottom <= other.top)
        << "level " << button.level + 1;
  }

  std::string file = "\0\0\0\0\x11"s;
  for (int i = 0; i < 17; ++i) {
    bool done = i < 15 || i == 16;
    file += "\x01"s + char(done) + char(i == 16) + char(i == 16) + "\0\0\0\0\0\x38\x8F\x40"s;
  }
  writeFileBytes(directory.path("binhopper.dat"), file);
  prepareFiles(17, 16);
  menu = open();
  EXPECT_EQ(static_cast<int>(menu->buttons().size()), 16 + 8) << "16 levels, 6 beside them, Help, Quit";
  EXPECT_EQ(pointsLine(*menu), "Unlock points: 15/48");
  EXPECT_FALSE(shows(*menu, MenuAction::FinalScreen)) << "16 completions, but the 16th level is not one of them";
  progress().recordCompletion(15, false, 10.0);
  EXPECT_EQ(pointsLine(*menu), "Unlock points: 16/48");
  EXPECT_TRUE(shows(*menu, MenuAction::FinalScreen));
  ASSERT_TRUE(progress().save().ok);
  EXPECT_EQ(readFileBytes(directory.path("binhopper.dat")).size(), 5u + 12 * 17) << "the 17th record stays";
}

// After a play: Menu goes back to the menu, Retry plays the level again, Next the next level,
// locked or not, and nothing after the last.
TEST_F(MenuTest, WhatIsPlayedNext) {
  prepareFiles(3, 3);
  auto menu = open();
  const std::tuple<int, PlayResult, std::optional<int>> rows[] = {
      {0, PlayResult::Menu, std::nullopt}, {0, PlayResult::Retry, 0}, {1, PlayResult::Next, 2},
      {2, PlayResult::Next, std::nullopt}, {2, PlayResult::Retry, 2},
  };
  for (const auto& [index, result, next] : rows) EXPECT_EQ(menu->after(index, result), next) << index;
  std::optional<PlayedLevel> second = menu->level(1);
  ASSERT_TRUE(second);
  EXPECT_EQ(std::make_tuple(second->kind, second->campaign, second->number, second->record),
            std::make_tuple(PlayKind::Numbered, "levels"s, 2, &progress()));
  EXPECT_FALSE(menu->level(3)) << "past the last level";
}

// The campaign button steps through the built-in campaign and the packs by name; the grid, the
// points, the final button and the campaign the settings keep follow it. A broken campaign
// says so when it is chosen; a remembered one that is gone gives the built-in campaign.
TEST_F(MenuTest, CampaignsCycleAndAreRemembered) {
  preparePackFiles();
  auto menu = open();
  // The campaign's label, its level buttons, its points and the campaign the settings keep.
  auto expect = [&](const std::string& label, int levels, const std::string& points, const std::string& kept) {
    EXPECT_EQ(buttonOf(*menu, MenuAction::Campaign).label, label);
    EXPECT_EQ(static_cast<int>(menu->buttons().size()) - 8, levels);
    EXPECT_EQ(pointsLine(*menu), points);
    EXPECT_EQ(menu->settingsFor(false).campaign, kept);
  };
  expect("Binhopper", 3, "Unlock points: 0/9", "levels");
  menu->nextCampaign();
  expect("Alpha Pack", 2, "Unlock points: 0/6", "zeta");
  EXPECT_EQ(menu->level(0)->record, &menu->campaigns().record()) << "the pack's own record";
  EXPECT_EQ(menu->levelFile(1), "packs/zeta/2.lv");
  menu->nextCampaign();
  expect("Broken (!)", 2, "Unlock points: 0/6", "beta");
  EXPECT_NE(noticeText(*menu).find("The campaign 'Broken' has problems"), std::string::npos) << "shown when chosen";
  menu->nextCampaign();
  expect("Binhopper", 3, "Unlock points: 0/9", "levels");

  const std::tuple<std::string, std::string, std::string> remembered[] = {
      {"zeta", "Alpha Pack", "zeta"},
      {"beta", "Broken (!)", "beta"},
      {"gone", "Binhopper", "levels"},
  };
  for (const auto& [folder, label, kept] : remembered) {
    SCOPED_TRACE(folder);
    Settings settings;
    settings.campaign = folder;
    menu = open();
    menu->apply(settings);
    EXPECT_EQ(buttonOf(*menu, MenuAction::Campaign).label, label);
    EXPECT_EQ(menu->settingsFor(false).campaign, kept);
  }
}

// A damaged pack progress file is set aside as .bad, what can be trusted is kept, and the menu
// says so once, when the pack is first chosen.
TEST_F(MenuTest, DamagedPackProgressIsSetAside) {
  const std::string damaged = "\x02\0\0\0\x02"s + "\x01\x01\x00\x00"s + "\0\0\0\0\0\x38\x8F\x40"s + "\x07"s;
  preparePackFiles();
  writeFile("progress/zeta.dat", damaged);
  auto menu = open();
  menu->nextCampaign();
  EXPECT_EQ(readFileBytes(directory.path("progress/zeta.dat.bad")), damaged);
  EXPECT_NE(noticeText(*menu).find("progress/zeta.dat' was damaged"), std::string::npos) << noticeText(*menu);
  EXPECT_EQ(pointsLine(*menu), "Unlock points: 1/6") << "the whole record was kept";
  menu->closeNotice();
  for (int press = 0; press < 3; ++press) menu->nextCampaign();
  EXPECT_EQ(buttonOf(*menu, MenuAction::Campaign).label, "Alpha Pack");
  EXPECT_EQ(noticeText(*menu).find("damaged"), std::string::npos) << "said once";
  menu->campaigns().savePackRecords();
  EXPECT_EQ(readFileBytes(directory.path("progress/zeta.dat")).size(), 5u + 12 * 2);
  EXPECT_EQ(readFileBytes(directory.path("progress/zeta.dat.bad")), damaged);
}

// What an author adds reaches the menu: the Editor and "Add a campaign…" stand in the column,
// on the screen and over no other button, in the focus's walk; after the editor or an install
// the campaigns are found again with the choice kept; the campaign's information counts the
// levels its author's runs prove; a pack already installed asks before it is replaced.
TEST_F(MenuTest, WhatAnAuthorAddsReachesTheMenu) {
  preparePackFiles();
  auto menu = open();
  std::vector<MenuAction> column;
  const std::vector<MenuButton> buttons = menu->buttons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    const Box& a = buttons[i].place;
    EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= 800 && a.bottom <= 600) << buttons[i].label;
    for (size_t j = i + 1; j < buttons.size(); ++j) {
      const Box& b = buttons[j].place;
      EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top)
          << buttons[i].label << " over " << buttons[j].label;
    }
    if (buttons[i].action != MenuAction::PlayLevel) column.push_back(buttons[i].action);
  }
  EXPECT_EQ(column, (std::vector<MenuAction>{MenuAction::Theme, MenuAction::Music, MenuAction::Campaign,
                                             MenuAction::AddCampaign, MenuAction::Options, MenuAction::Editor,
                                             MenuAction::Help, MenuAction::Quit}));
  EXPECT_EQ(buttonOf(*menu, MenuAction::AddCampaign).label, "Add a campaign\u2026");

  menu->useCampaign("zeta");
  const std::vector<std::string> before{"Alpha Pack", "2 levels", "None proven by its author's run yet"};
  EXPECT_EQ(menu->campaignSummaryLines(), before);
  Replay proof;
  proof.campaign = "zeta";
  proof.outcome.status = Outcome::Completed;
  proof.runs = {FrameRun{0.017, PlayInput{}, 1}};
  ASSERT_TRUE(hashLevelFile(directory.path("packs/zeta/1.lv"), proof.levelHash).ok);
  ASSERT_TRUE(keepProof(directory.path("packs/zeta"), proof).ok);
  writeFile("packs/fresh/pack.txt", newPackText("Fresh"));
  writeFile("packs/fresh/1.lv", levelHolding(1));
  EXPECT_EQ(menu->campaignSummaryLines(), before) << "read once per campaign shown";
  menu->refreshCampaigns(findCampaigns(gameCampaignPlaces()));
  EXPECT_EQ(buttonOf(*menu, MenuAction::Campaign).label, "Alpha Pack") << "the choice is kept";
  EXPECT_EQ(menu->campaignSummaryLines().back(), "1 of them proven by its author's run");
  EXPECT_EQ(menu->campaigns().campaigns().size(), 4u) << "the new pack is found";

  menu->tellInstall({{"cannot install fresh.zip: a pack 'fresh' is already installed in packs/fresh (--force "
                      "replaces it)"},
                     false,
                     true,
                     "fresh"},
                    "fresh.zip");
  ASSERT_EQ(menu->replacementAsked(), std::optional<std::string>("fresh.zip"));
  EXPECT_EQ(menu->notice().back(), "Y: replace it with fresh.zip    N: keep the one installed");
  menu->answerReplacement();
  EXPECT_FALSE(menu->replacementAsked() || menu->noticeShown());
  menu->tellInstall({{"installed fresh.zip in packs/fresh"}, true, false, "fresh"}, "fresh.zip");
  EXPECT_EQ(buttonOf(*menu, MenuAction::Campaign).label, "Fresh") << "an installed pack is shown";
  EXPECT_EQ(menu->notice().back(), "installed fresh.zip in packs/fresh");
}

}  // namespace
