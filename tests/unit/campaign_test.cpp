#include "campaign/campaign.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/data_dirs.h"
#include "campaign/campaign_choice.h"
#include "campaign/discovery.h"
#include "campaign/pack_text.h"
#include "campaign/pack_writer.h"
#include "unit/test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kAvatarLevel = std::string("av\x01\x01", 4);

// A folder holding pack.txt (unless the text is empty) and the named files.
void makeCampaign(const std::string& folder, const std::string& packText,
                  const std::vector<std::pair<std::string, std::string>>& files = {{"1.lv", kAvatarLevel}}) {
  fs::create_directories(folder);
  if (!packText.empty()) writeFileBytes(folder + "/pack.txt", packText);
  for (const auto& [name, bytes] : files) writeFileBytes(folder + "/" + name, bytes);
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(Campaign, KeepsTheLevelsThatLoadAndNamesEveryProblemWithItsFile) {
  TempDir dir;
  std::string folder = dir.file("pk");
  makeCampaign(folder,
               "name = Pk\nlevel 1 = 10 One\nlevel 2 = 20 Two\nlevel 3 = 30 Three\nlevel 4 = 40\nlevel 5 = 50 Five\n"
               "autor = x\n",
               {{"1.lv", kAvatarLevel}, {"3.lv", "zz\x01\x01"}, {"7.lv", kAvatarLevel}, {"winner.lv", "qq"}});
  fs::create_directory(folder + "/4.lv");
  ASSERT_EQ(mkfifo((folder + "/5.lv").c_str(), 0600), 0) << "a named pipe must not block the reader";

  Campaign campaign = loadCampaign(folder, CampaignOrigin::Player, "pk");

  EXPECT_EQ(joined(campaign.problems),
            "pk/pack.txt:7: unknown key 'autor' (the keys are name, author, description and level N)\n"
            "pk/2.lv: cannot read: No such file or directory\n"
            "pk/3.lv: byte 0: unknown kind 'zz'\n"
            "pk/4.lv: cannot read: Is a directory\n"
            "pk/5.lv: cannot read: not a regular file\n"
            "pk/7.lv: level 7 is not listed in pack.txt\n"
            "pk/winner.lv: byte 0: unknown kind 'qq'\n");
  ASSERT_EQ(campaign.levelCount(), 5);
  EXPECT_TRUE(campaign.broken());
  EXPECT_EQ(campaign.title(), "Pk");
  EXPECT_EQ(campaign.winner, "") << "a final screen that does not load leaves the built-in one";
  std::string levels;  // "number name", then "playable" when it is
  for (const CampaignLevel& level : campaign.levels) {
    EXPECT_EQ(level.path, folder + "/" + std::to_string(level.number) + ".lv");
    EXPECT_EQ(level.target, 10.0 * level.number);
    levels += std::to_string(level.number) + " " + level.name + (level.playable() ? " playable\n" : "\n");
  }
  EXPECT_EQ(levels, "1 One playable\n2 Two\n3 Three\n4 \n5 Five\n");
}

TEST(Campaign, WithoutAUsablePackTxtTheNumberedFilesUpToAGapAreItsLevels) {
  TempDir dir;
  makeCampaign(dir.path(), "",
               {{"1.lv", kAvatarLevel}, {"2.lv", ""}, {"4.lv", kAvatarLevel}, {"winner.lv", kAvatarLevel}});

  Campaign campaign = loadCampaign(dir.path(), CampaignOrigin::BuiltIn);

  EXPECT_EQ(joined(campaign.problems), dir.path() + "/pack.txt: cannot read: No such file or directory\n");
  ASSERT_EQ(campaign.levelCount(), 2);
  EXPECT_TRUE(campaign.levels[0].playable() && campaign.levels[1].playable());
  EXPECT_EQ(campaign.levels[1].name, "");
  EXPECT_EQ(campaign.levels[1].target, 0.0) << "no target: no silver crown to earn";
  EXPECT_EQ(campaign.winner, dir.path() + "/winner.lv");
}

// "title|folder name|origin|progress file|ok or broken" per campaign, in the menu's order.
std::string listed(const std::vector<Campaign>& campaigns) {
  const char* origins[] = {"built-in", "shipped", "player"};
  std::string text;
  for (const Campaign& campaign : campaigns) {
    text += campaign.title() + "|" + campaign.folderName + "|" + origins[static_cast<int>(campaign.origin)] + "|" +
            campaign.progressFile() + "|" + (campaign.broken() ? "broken" : "ok") + "\n";
  }
  return text;
}

// A pack under the folder name of the built-in campaign or of a shipped pack would share its
// progress file and replays: it is listed as broken, none of its files read.
TEST(CampaignDiscovery, BuiltInFirstThenPacksByTitleAndNoneUnderAnotherCampaignsName) {
  TempDir dir;
  CampaignPlaces places{dir.file("data/levels"), dir.file("data/packs"), dir.file("player/packs")};
  makeCampaign(places.builtIn, "name = Binhopper\nlevel 1 = 5 A\n");
  makeCampaign(places.shippedPacks + "/zeta", "name = Alpha\nlevel 1 = 5\n");
  makeCampaign(places.shippedPacks + "/beta", "name = Beta shipped\nlevel 1 = 5\n");
  makeCampaign(places.shippedPacks + "/broken", "name = Broken\nlevel 1 = x\n");
  makeCampaign(places.shippedPacks + "/crate", "name = Crate\nlevel 1 = 5\n");
  makeCampaign(places.shippedPacks + "/.install-crate-x1", "name = Half installed\nlevel 1 = 5\n");
  writeFileBytes(places.shippedPacks + "/notes.txt", "not a pack");
  makeCampaign(places.playerPacks + "/beta", "name = beta mine\nlevel 1 = 5\n");
  makeCampaign(places.playerPacks + "/nameless", "");
  makeCampaign(places.playerPacks + "/a-first", "name = zed\nlevel 1 = 5\n");
  makeCampaign(places.playerPacks + "/levels", "name = Impostor\nlevel 1 = 5\n");

  EXPECT_EQ(listed(findCampaigns(places)),
            "Binhopper|levels|built-in|binhopper.dat|ok\n"
            "Alpha|zeta|shipped|progress/zeta.dat|ok\n"
            "beta|beta|player|progress/beta.dat|broken\n"
            "Beta shipped|beta|shipped|progress/beta.dat|ok\n"
            "Broken|broken|shipped|progress/broken.dat|broken\n"
            "Crate|crate|shipped|progress/crate.dat|ok\n"
            "levels|levels|player|progress/levels.dat|broken\n"
            "nameless|nameless|player|progress/nameless.dat|broken\n"
            "zed|a-first|player|progress/a-first.dat|ok\n");
  for (const Campaign& campaign : findCampaigns(places)) {
    if (campaign.origin != CampaignOrigin::Player || campaign.folderName == "a-first" ||
        campaign.folderName == "nameless")
      continue;
    EXPECT_TRUE(campaign.nameTaken && campaign.levels.empty()) << campaign.folderName;
    EXPECT_EQ(campaign.problems,
              std::vector<std::string>{campaign.folder + ": the folder name '" + campaign.folderName + "' belongs to " +
                                       (campaign.folderName == "levels"
                                            ? "the built-in campaign"
                                            : "the pack shipped in " + places.shippedPacks + "/beta") +
                                       " (a pack of that name would share its progress and best runs): give the "
                                       "pack's folder another name"});
  }
}

TEST(CampaignDiscovery, MissingEmptyOrSharedPacksFolders) {
  // Label; whether the packs folders exist; whether the player's packs are the shipped ones (a
  // game run from its source tree); the campaigns listed.
  const std::tuple<const char*, bool, bool, const char*> rows[] = {
      {"no packs folders", false, false, "Binhopper|levels|built-in|binhopper.dat|ok\n"},
      {"empty packs folders", true, false, "Binhopper|levels|built-in|binhopper.dat|ok\n"},
      {"one folder for both", true, true,
       "Binhopper|levels|built-in|binhopper.dat|ok\nOnly|only|shipped|progress/only.dat|ok\n"},
  };
  for (const auto& [label, folders, oneFolder, expected] : rows) {
    TempDir dir;
    CampaignPlaces places{dir.file("levels"), dir.file("packs"), dir.file(oneFolder ? "./packs" : "mine")};
    makeCampaign(places.builtIn, "name = Binhopper\nlevel 1 = 5\n");
    if (folders) fs::create_directory(places.shippedPacks);
    if (folders && !oneFolder) fs::create_directory(places.playerPacks);
    if (oneFolder) makeCampaign(places.shippedPacks + "/only", "name = Only\nlevel 1 = 5\n");
    EXPECT_EQ(listed(findCampaigns(places)), expected) << label;
  }
}

// "levels" is always the built-in campaign, even with a pack of that folder name listed after
// it (the menu once opened on such an impostor); a pack whose name is taken is never chosen by
// name, and choosing it in the menu reads and writes no progress file.
TEST(CampaignChoice, TheBuiltInCampaignIsLevelsAndATakenNameKeepsNoRecord) {
  TempDir player;
  setPlayerDirectory(player.path());
  auto campaign = [](const std::string& folderName, CampaignOrigin origin, bool nameTaken) {
    Campaign made;
    made.folderName = folderName;
    made.origin = origin;
    made.nameTaken = nameTaken;
    return made;
  };
  std::filesystem::create_directories(player.file("progress"));
  writeFileBytes(player.file("progress/overtime.dat"), "the shipped pack's record");
  CampaignChoice choice(
      {campaign("levels", CampaignOrigin::BuiltIn, false), campaign("levels", CampaignOrigin::Player, false),
       campaign("overtime", CampaignOrigin::Player, true), campaign("overtime", CampaignOrigin::Shipped, false)});
  const std::tuple<const char*, size_t> rows[] = {{"levels", 0}, {"overtime", 3}, {"gone", 0}};
  for (const auto& [name, chosen] : rows) {
    choice.choose(name);
    EXPECT_EQ(choice.chosen(), chosen) << name;
  }
  choice.choose("levels");
  choice.next();
  choice.next();
  ASSERT_TRUE(choice.campaign().nameTaken);
  choice.record().records.resize(3);
  choice.savePackRecords();
  EXPECT_EQ(readFileBytes(player.file("progress/overtime.dat")), "the shipped pack's record");
  setPlayerDirectory("");
}

// The editor saves a level into a pack as its next level or as one it already has: a new pack
// is made named after its folder, pack.txt gains only the line the level needs, and a pack
// read from a broken pack.txt or full to the last level is never written beyond its rules.
TEST(PackWriter, ALevelFindsItsPlaceInAPack) {
  std::string fullPack = "name = Pk\n";
  for (int n = 1; n <= kMaximumLevels; ++n) fullPack += "level " + std::to_string(n) + " = 9\n";
  struct Row {
    const char* label;
    std::string packText;  // "" for no pack.txt
    std::vector<std::pair<std::string, std::string>> files;
    int next;    // nextFreeLevel
    int number;  // the level saved
    std::string problem;
    std::string packTextAfter;  // from its "name =" line
  } const rows[] = {
      {"a new folder", "", {}, 1, 1, "", "name = pk\nauthor =\ndescription =\nlevel 1 = 60.0\n"},
      {"a folder of levels without pack.txt",
       "",
       {{"1.lv", kAvatarLevel}, {"2.lv", kAvatarLevel}},
       3,
       3,
       "",
       "name = pk\nauthor =\ndescription =\nlevel 1 = 60.0\nlevel 2 = 60.0\nlevel 3 = 60.0\n"},
      {"the next level of a pack, its lines kept",
       "name = Pk # mine\nlevel 1 = 9 One",
       {},
       2,
       2,
       "",
       "name = Pk # mine\nlevel 1 = 9 One\nlevel 2 = 60.0\n"},
      {"a level the pack lists", "name = Pk\nlevel 1 = 9 One\n", {}, 2, 1, "", "name = Pk\nlevel 1 = 9 One\n"},
      {"a gap after the last level",
       "name = Pk\nlevel 1 = 9 One\n",
       {},
       2,
       3,
       "a pack's levels are numbered 1 to 24, each after the one before",
       "name = Pk\nlevel 1 = 9 One\n"},
      {"a full pack", fullPack, {}, 0, 25, "a pack's levels are numbered 1 to 24, each after the one before", fullPack},
  };
  for (const Row& row : rows) {
    TempDir dir;
    const std::string folder = dir.file("pk");
    if (!row.packText.empty() || !row.files.empty()) makeCampaign(folder, row.packText, row.files);
    EXPECT_EQ(nextFreeLevel(folder), row.next) << row.label;
    EXPECT_EQ(makeRoomForLevel(folder, row.number), row.problem) << row.label;
    std::string after = readFileBytes(folder + "/pack.txt");
    if (row.packText.empty()) after = after.substr(after.find("name ="));
    EXPECT_EQ(after, row.packTextAfter) << row.label;
    if (row.problem.empty()) {
      EXPECT_TRUE(parsePackText(after).problems.empty()) << row.label;
    }
  }
  TempDir dir;
  EXPECT_EQ(
      makeRoomForLevel(dir.file(".hidden"), 1),
      "'.hidden' cannot name a pack's folder (letters, digits, '.', '_' and '-', not first '.' or '-', at most 64)");
  EXPECT_FALSE(fs::exists(dir.file(".hidden")));
}

// The menu's word on a campaign, with the parts pack.txt leaves out left out.
TEST(CampaignSummary, SaysWhatThePackIsAndHowMuchOfItIsProven) {
  Campaign full;
  full.folderName = "pk";
  full.name = "Loose Change";
  full.author = "A. Player";
  full.description = "Coins.";
  full.levels.resize(3);
  Campaign bare = full;
  bare.name = bare.author = bare.description = "";
  bare.levels.resize(1);
  bare.problems = {"pk/pack.txt: no 'name = ...' line"};
  const std::tuple<const char*, const Campaign*, int, std::vector<std::string>> rows[] = {
      {"none proven",
       &full,
       0,
       {"Loose Change", "by A. Player", "Coins.", "3 levels", "None proven by its author's run yet"}},
      {"some proven",
       &full,
       1,
       {"Loose Change", "by A. Player", "Coins.", "3 levels", "1 of them proven by its author's run"}},
      {"all proven",
       &full,
       3,
       {"Loose Change", "by A. Player", "Coins.", "3 levels", "Every one proven by its author's run"}},
      {"a bare, broken pack of one proven level",
       &bare,
       1,
       {"pk", "1 level", "Proven by its author's run", "1 problem: choose it to see them"}},
  };
  for (const auto& [label, campaign, proven, lines] : rows)
    EXPECT_EQ(campaignSummary(*campaign, proven), lines) << label;
}

}  // namespace
