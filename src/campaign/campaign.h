#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A campaign is a folder: pack.txt, the levels 1.lv ... N.lv (N from 1 to 24), optionally its
// own final screen winner.lv, solution scripts solutions/N.txt and level sources src/N.txt.
// The built-in campaign is levels/ of the data directory; the others are packs.

// The largest level file a campaign may hold: far beyond any level the game plays well
// (docs/level-text.md), small enough that reading every level of every pack stays quick.
constexpr size_t kLevelFileBytes = 1u << 20;

enum class CampaignOrigin { BuiltIn, Shipped, Player };

struct CampaignLevel {
  int number;           // from 1
  std::string path;     // <folder>/<number>.lv
  std::string name;     // from pack.txt; may be empty
  double target;        // s; 0 when pack.txt gives none, so no silver crown can be earned
  std::string problem;  // why the level cannot be played, as "<file>: <what>"; empty when it loads

  bool playable() const { return problem.empty(); }
};

// A campaign as far as it can be used: a mistake in pack.txt or a level that does not load
// makes it broken, and the levels that load can still be played.
struct Campaign {
  std::string folder;      // as it was found (relative to the data directory, or absolute)
  std::string folderName;  // the folder's own name, which names the campaign's progress file
  CampaignOrigin origin = CampaignOrigin::Shipped;
  std::string name;  // from pack.txt; may be empty when pack.txt gives none
  std::string author;
  std::string description;
  // Levels 1 to the highest one pack.txt lists; when it lists none, the numbered files there
  // are, from 1.lv up to the first missing one.
  std::vector<CampaignLevel> levels;
  std::string winner;  // <folder>/winner.lv when the campaign has its own and it loads
  // Every mistake, each "<file>:<line>: <what>" or "<file>: <what>", in the order of the files.
  std::vector<std::string> problems;
  // Its folder name is another campaign's: it has no levels, and no file is kept for it.
  bool nameTaken = false;

  bool broken() const { return !problems.empty(); }
  // Progress records beyond this number belong to no level of the campaign.
  int levelCount() const { return static_cast<int>(levels.size()); }
  // The name from pack.txt, or the folder's name when it gives none.
  const std::string& title() const { return name.empty() ? folderName : name; }
  // Relative to the player directory: "binhopper.dat" for the built-in campaign, whose
  // progress file stays what it was, else "progress/<folder name>.dat".
  std::string progressFile() const;
};

// The longest name of a pack's folder, which names its progress file and its replays' folder.
constexpr size_t kMaximumFolderName = 64;

// Letters, digits, '.', '_' and '-', not first '.' (a hidden file) or '-' (an option to a
// command), at most kMaximumFolderName bytes: a name safe on every file system and in a command.
bool isPlainName(const std::string& name);
// Whether a name can be a pack's folder: "" when it can, else why not.
std::string folderNameProblem(const std::string& name);

// What the menu tells of a campaign: its title, "by AUTHOR", its description, how many levels
// it holds and how many its author's runs prove (saying so when all are), and for a broken one
// how many problems it has. Empty parts are left out.
std::vector<std::string> campaignSummary(const Campaign& campaign, int provenLevels);

// Reads the campaign in the folder. Messages name its files through `shownAs` in place of
// the folder (an installer checks a copy but names the pack); by default the folder itself.
Campaign loadCampaign(const std::string& folder, CampaignOrigin origin, const std::string& shownAs = "");

// Reads a file of a campaign whole: only a regular file (so a named pipe never blocks) of at
// most `limit` bytes. "" on success, else what is wrong ("cannot read: <reason>", "larger than
// <limit> bytes").
std::string readCampaignFile(const std::string& path, size_t limit, std::string& bytes);

// Why a level file cannot be played ("cannot read: ...", "larger than ... bytes", "byte 9:
// unknown kind 'zz'"), or "" when it loads.
std::string levelFileProblem(const std::string& path);
