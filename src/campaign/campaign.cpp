#include "campaign/campaign.h"

#include <sys/stat.h>

#include "app/safe_file.h"
#include "campaign/pack_text.h"
#include "entities/prototypes.h"
#include "world/level_record.h"
#include "world/world.h"

namespace {

const char* const kPackFile = "pack.txt";
const char* const kWinnerFile = "winner.lv";

bool exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0;
}

std::string levelPath(const std::string& folder, int number) { return folder + "/" + std::to_string(number) + ".lv"; }

std::string folderNameOf(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class CampaignReader {
 public:
  CampaignReader(const std::string& folder, const std::string& shownAs, Campaign& campaign)
      : folder_(folder), shown_(shownAs.empty() ? folder : shownAs), campaign_(campaign) {}

  void read() {
    PackText pack = readPack();
    campaign_.name = pack.name;
    campaign_.author = pack.author;
    campaign_.description = pack.description;
    int count = pack.highestLevel();
    if (count == 0) count = numberedFiles();
    for (int number = 1; number <= count; ++number) addLevel(number, pack.level(number));
    if (pack.highestLevel() > 0) reportUnlisted(count);
    readWinner();
  }

 private:
  std::string shown(const std::string& file) const { return shown_ + "/" + file; }
  void report(const std::string& message) { campaign_.problems.push_back(message); }

  PackText readPack() {
    std::string bytes;
    std::string problem = readCampaignFile(folder_ + "/" + kPackFile, kPackFileBytes, bytes);
    if (!problem.empty()) {
      report(shown(kPackFile) + ": " + problem);
      return PackText{};
    }
    PackText pack = parsePackText(bytes);
    for (const PackProblem& mistake : pack.problems) {
      std::string where = mistake.line ? format(":%d", mistake.line) : std::string();
      report(shown(kPackFile) + where + ": " + mistake.message);
    }
    return pack;
  }

  // The numbered files from 1.lv up to the first that is missing or not a regular file.
  int numberedFiles() const {
    int count = 0;
    while (count < kMaximumLevels && isRegularFile(levelPath(folder_, count + 1))) ++count;
    return count;
  }

  void addLevel(int number, const PackLevel* listed) {
    std::string path = levelPath(folder_, number);
    std::string problem = levelFileProblem(path);
    if (!problem.empty()) problem = shown(std::to_string(number) + ".lv") + ": " + problem;
    if (!problem.empty()) report(problem);
    campaign_.levels.push_back(
        CampaignLevel{number, path, listed ? listed->name : "", listed ? listed->target : 0.0, problem});
  }

  void reportUnlisted(int count) {
    for (int number = count + 1; number <= kMaximumLevels; ++number) {
      if (exists(levelPath(folder_, number)))
        report(shown(std::to_string(number) + ".lv") + format(": level %d is not listed in %s", number, kPackFile));
    }
  }

  void readWinner() {
    std::string path = folder_ + "/" + kWinnerFile;
    if (!exists(path)) return;
    std::string problem = levelFileProblem(path);
    if (problem.empty())
      campaign_.winner = path;
    else
      report(shown(kWinnerFile) + ": " + problem);
  }

  std::string folder_;
  std::string shown_;
  Campaign& campaign_;
};

}  // namespace

std::string Campaign::progressFile() const {
  return origin == CampaignOrigin::BuiltIn ? "binhopper.dat" : "progress/" + folderName + ".dat";
}

Campaign loadCampaign(const std::string& folder, CampaignOrigin origin, const std::string& shownAs) {
  Campaign campaign;
  campaign.folder = folder;
  campaign.folderName = folderNameOf(folder);
  campaign.origin = origin;
  CampaignReader(folder, shownAs, campaign).read();
  return campaign;
}

std::string readCampaignFile(const std::string& path, size_t limit, std::string& bytes) {
  FileResult read = readWholeFile(path, bytes, limit);
  return read.ok ? "" : readProblem(read, limit);
}

std::string levelFileProblem(const std::string& path) {
  std::string bytes;
  std::string problem = readCampaignFile(path, kLevelFileBytes, bytes);
  if (!problem.empty()) return problem;
  ParsedLevel level = parseLevelBytes(bytes, levelKinds());
  if (!level.unknownCode.empty())
    return format("byte %zu: unknown kind '%s'", level.offset, printableBytes(level.unknownCode).c_str());
  if (!level.ok) return format("byte %zu: %s", level.offset, level.problem.c_str());
  return "";
}

bool isPlainName(const std::string& name) {
  return !name.empty() && name.size() <= kMaximumFolderName && name[0] != '.' && name[0] != '-' &&
         name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-") ==
             std::string::npos;
}

std::string folderNameProblem(const std::string& name) {
  if (isPlainName(name)) return "";
  return format(
      "'%s' cannot name a pack's folder (letters, digits, '.', '_' and '-', not first '.' or '-', at most %zu)",
      printableBytes(name).c_str(), kMaximumFolderName);
}

std::vector<std::string> campaignSummary(const Campaign& campaign, int provenLevels) {
  std::vector<std::string> lines{campaign.title()};
  if (!campaign.author.empty()) lines.push_back("by " + campaign.author);
  if (!campaign.description.empty()) lines.push_back(campaign.description);
  int levels = campaign.levelCount();
  lines.push_back(format("%d level%s", levels, levels == 1 ? "" : "s"));
  if (levels > 0 && provenLevels == levels) {
    lines.push_back(levels == 1 ? "Proven by its author's run" : "Every one proven by its author's run");
  } else if (provenLevels == 0) {
    lines.push_back("None proven by its author's run yet");
  } else {
    lines.push_back(format("%d of them proven by its author's run", provenLevels));
  }
  if (campaign.broken())
    lines.push_back(format("%zu problem%s: choose it to see them", campaign.problems.size(),
                           campaign.problems.size() == 1 ? "" : "s"));
  return lines;
}
