#include "pack_tools/pack_check.h"

#include <allegro5/allegro.h>

#include <filesystem>
#include <sstream>
#include <system_error>

#include "app/utf8.h"
#include "campaign/campaign.h"
#include "campaign/progress.h"
#include "editor/level_check.h"
#include "entities/avatar.h"
#include "entities/message.h"
#include "entities/prototypes.h"
#include "sim/input_script.h"
#include "sim/simulator.h"
#include "themes/themes.h"
#include "world/level_record.h"
#include "world/world.h"

namespace {

constexpr double kReplayStep = 0.017;  // s, the game's shortest frame, as binhopper-sim plays
constexpr size_t kScriptBytes = 1u << 20;

// Replays play the real play state, which records completions and counts deaths in the
// process's one progress record: it is put back afterwards.
class ReplayScope {
 public:
  ReplayScope() : progress_(progress()), bitmapFlags_(al_get_new_bitmap_flags()) {
    al_set_new_bitmap_flags(ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    createThemes();
  }
  ~ReplayScope() {
    progress() = progress_;
    al_set_new_bitmap_flags(bitmapFlags_);
  }
  ReplayScope(const ReplayScope&) = delete;
  ReplayScope& operator=(const ReplayScope&) = delete;

  // A fresh record in memory, never saved, long enough to hold the level's completion.
  static void freshProgress(int levelCount) {
    Progress& record = progress();
    record.records.clear();
    record.deaths = 0;
    record.loaded = false;
    record.ensureRecords(levelCount);
  }

 private:
  Progress progress_;
  int bitmapFlags_;
};

struct Replay {
  std::string solution = "none";  // the LEVEL line's field
  std::string crowns = "none";
};

std::string inQuotes(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

class Checker {
 public:
  Checker(const std::string& folder, const std::string& shownAs)
      : folder_(folder), shown_(shownAs.empty() ? folder : shownAs) {}

  PackCheck run(const CampaignPlaces* places) {
    Campaign campaign = loadCampaign(folder_, CampaignOrigin::Shipped, shown_);
    std::string taken = places ? takenFolderNameProblem(campaign.folderName, *places, folder_) : "";
    if (!taken.empty()) report(shown_ + ": " + taken);
    for (const std::string& problem : campaign.problems) report(problem);
    ReplayScope scope;
    for (const CampaignLevel& level : campaign.levels) checkLevel(level, campaign.levelCount());
    check_.lines.push_back(format("PACK levels=%d problems=%d name=%s", campaign.levelCount(), check_.problems,
                                  inQuotes(campaign.name).c_str()));
    return check_;
  }

 private:
  void report(const std::string& problem) {
    check_.lines.push_back(problem);
    ++check_.problems;
  }

  std::string shown(const std::string& file) const { return shown_ + "/" + file; }

  // Signs longer than the editor edits are refused before the level is built: their text would
  // be wrapped for a panel no screen shows.
  bool signsFit(const CampaignLevel& level) {
    std::string bytes;
    if (!readCampaignFile(level.path, kLevelFileBytes, bytes).empty()) return false;
    bool fit = true;
    for (const ObjectRecord& record : parseLevelBytes(bytes, levelKinds()).records) {
      size_t characters = looseCharacterCount(record.fields.text);
      if (characters <= kLongestSignText) continue;
      report(shown(std::to_string(level.number) + ".lv") +
             format(": the sign at column %d, row %d holds %zu characters, more than the %zu a sign may hold; "
                    "shorten it",
                    record.col, record.row, characters, kLongestSignText));
      fit = false;
    }
    return fit;
  }

  void checkLevel(const CampaignLevel& level, int levelCount) {
    Replay replay;
    if (level.playable() && signsFit(level)) {
      World world;
      readLevel(level.path.c_str(), world);
      world.flush();
      for (const std::string& problem : levelProblems(world))
        report(shown(std::to_string(level.number) + ".lv") + ": " + problem);
      replay = replaySolution(level, levelCount);
    }
    std::string target = level.target > 0.0 ? format("%.2f", level.target) : "none";
    check_.lines.push_back(format("LEVEL n=%d target=%s solution=%s crowns=%s name=%s", level.number, target.c_str(),
                                  replay.solution.c_str(), replay.crowns.c_str(), inQuotes(level.name).c_str()));
  }

  enum class Script { None, Bad, Ready };

  // Reads the level's script, reporting what is wrong with it.
  Script readScript(const std::string& file, InputScript& script) {
    std::string path = folder_ + "/" + file;
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return Script::None;
    std::string text;
    std::string problem = readCampaignFile(path, kScriptBytes, text);
    std::istringstream in(text);
    std::string readError;
    if (!problem.empty())
      report(shown(file) + ": " + problem);
    else if (!script.read(in, shown(file), readError))
      report(readError);
    else if (script.frameCount() > kLongestSolution)
      report(shown(file) + format(": longer than %d frames", kLongestSolution));
    else
      return Script::Ready;
    return Script::Bad;
  }

  Replay replaySolution(const CampaignLevel& level, int levelCount) {
    Replay replay;
    InputScript script;
    std::string file = "solutions/" + std::to_string(level.number) + ".txt";
    Script read = readScript(file, script);
    if (read == Script::Bad) replay.solution = "failed";
    if (read != Script::Ready) return replay;
    ReplayScope::freshProgress(levelCount);
    Simulator simulator(level.path.c_str(), level.number - 1);
    for (int frame = 1; frame <= script.frameCount(); ++frame) simulator.step(script.keysAt(frame), kReplayStep);
    Outcome outcome;
    if (Avatar* avatar = simulator.avatar()) outcome = avatar->outcome();
    if (outcome.status != Outcome::Completed) {
      std::string state = outcome.status == Outcome::Dead ? "dead (" + outcome.reason + ")" : "still playing";
      report(shown(file) + format(": does not complete the level (after %d frames the avatar is %s)",
                                  script.frameCount(), state.c_str()));
      replay.solution = "failed";
      return replay;
    }
    const PlayContext& context = *simulator.state().context;
    bool golden = static_cast<int>(context.garbageCollected) == context.grid->looseCount;
    bool silver = golden && context.elapsedTime < level.target;
    replay.solution = format("%.2f", context.elapsedTime);
    replay.crowns = silver ? "gold,silver" : golden ? "gold" : "none";
    return replay;
  }

  std::string folder_;
  std::string shown_;
  PackCheck check_;
};

}  // namespace

PackCheck checkPack(const std::string& folder, const std::string& shownAs, const CampaignPlaces* places) {
  return Checker(folder, shownAs).run(places);
}
