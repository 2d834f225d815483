#include "campaign/pack_writer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/safe_file.h"
#include "campaign/campaign.h"
#include "campaign/pack_text.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

const char* const kFirstTarget = "60.0";  // s: a minute, until the author times a proof

std::string packTextPath(const std::string& folder) { return folder + "/pack.txt"; }

std::string levelLine(int number) { return format("level %d = %s\n", number, kFirstTarget); }

// The folder's own name, as "fresh" of "packs/fresh/".
std::string nameOf(const std::string& folder) {
  fs::path path = fs::path(folder).lexically_normal();
  return (path.has_filename() ? path : path.parent_path()).filename().string();
}

// A failure's words name the file, for the author.
Result<> told(Result<> done, const std::string& words) {
  if (done.ok()) return done;
  Problem failed = done.problem();
  failed.message = words + ": " + failed.message;
  return failed;
}

Result<> listLevel(const std::string& folder, int number) {
  const std::string file = packTextPath(folder);
  Result<std::string> read = readWholeFile(file, kPackFileBytes);
  if (!read.ok()) return told(read.problem(), "cannot read " + file);
  std::string text = read.value();
  if (parsePackText(text).level(number)) return {};
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += levelLine(number);
  if (text.size() > kPackFileBytes)
    return fail(Failure::TooLarge, format("%s would grow larger than %zu bytes", file.c_str(), kPackFileBytes), file);
  return told(replaceFile(file, text), "cannot write " + file);
}

}  // namespace

std::string newPackText(const std::string& name) {
  return "# A campaign for Binhopper. Lines are \"key = value\"; '#' starts a comment line.\n"
         "# Each level: \"level N = TARGET NAME\", the target time in seconds (under it, with all the\n"
         "# loose garbage, the silver crown is earned) and the level's name.\n"
         "name = " +
         name + "\nauthor =\ndescription =\n" + levelLine(1);
}

int nextFreeLevel(const std::string& packFolder) {
  Campaign campaign = loadCampaign(packFolder, CampaignOrigin::Player);
  int next = campaign.levelCount() + 1;
  return next <= kMaximumLevels ? next : 0;
}

Result<> makeRoomForLevel(const std::string& packFolder, int number) {
  Result<> named = checkFolderName(nameOf(packFolder));
  if (!named.ok()) return named;
  int next = nextFreeLevel(packFolder);
  if (number < 1 || number > std::max(next, 0) || number > kMaximumLevels)
    return fail(Failure::Refused,
                format("a pack's levels are numbered 1 to %d, each after the one before", kMaximumLevels));
  if (isRegularFile(packTextPath(packFolder))) return listLevel(packFolder, number);
  std::error_code error;
  fs::create_directories(packFolder, error);
  if (error) return fail(Failure::CannotOpen, "cannot make " + packFolder + ": " + error.message(), packFolder);
  // Levels already lying in the folder are listed with the new one.
  std::string text = newPackText(nameOf(packFolder).substr(0, kPackNameCharacters));
  for (int listed = 2; listed <= std::max(number, next - 1); ++listed) text += levelLine(listed);
  return told(replaceFile(packTextPath(packFolder), text), "cannot write " + packTextPath(packFolder));
}
