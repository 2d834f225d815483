#include "pack_tools/pack_check.h"

#include <allegro5/allegro.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <system_error>

#include "app/utf8.h"
#include "campaign/campaign.h"
#include "campaign/progress.h"
#include "editor/level_check.h"
#include "entities/message.h"
#include "entities/prototypes.h"
#include "replay/proof.h"
#include "sim/input_script.h"
#include "sim/replay_keys.h"
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

// How a run played on a level ended, and what it earned.
struct PlayedRun {
  Outcome outcome;
  double elapsed = 0.0;  // s
  bool golden = false;
  bool silver = false;

  bool completed() const { return outcome.status == Outcome::Completed; }
  const char* crowns() const { return silver ? "gold,silver" : golden ? "gold" : "none"; }
};

// What the level's line and its proof's line say.
struct LevelFindings {
  std::string solution = "none";
  std::string crowns = "none";
  std::string proof = "unproven";
  bool proven = false;
  double fastest = 0.0;  // s, of the runs that completed the level; 0 for none
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
    Result<> named = places ? checkFolderNameFree(campaign.folderName, *places, folder_) : Result<>();
    if (!named.ok()) report(shown_ + ": " + named.problem().message);
    for (const std::string& problem : campaign.problems) report(problem);
    ReplayScope scope;
    for (const CampaignLevel& level : campaign.levels) checkLevel(level, campaign.levelCount());
    check_.lines.push_back(format("PACK levels=%d problems=%d proven=%d name=%s", campaign.levelCount(),
                                  check_.problems, check_.proven, inQuotes(campaign.name).c_str()));
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
    Result<std::string> bytes = readWholeFile(level.path, kLevelFileBytes);
    Result<ParsedLevel> parsed = bytes.ok() ? parseLevelBytes(bytes.value(), levelKinds()) : bytes.problem();
    if (!parsed.ok()) return false;
    bool fit = true;
    for (const ObjectRecord& record : parsed.value().records) {
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
    LevelFindings found;
    if (level.playable() && signsFit(level)) {
      World world;
      readLevel(level.path.c_str(), world);
      world.flush();
      for (const std::string& problem : levelProblems(world))
        report(shown(std::to_string(level.number) + ".lv") + ": " + problem);
      replaySolution(level, levelCount, found);
      replayProof(level, levelCount, found);
    }
    std::string target = level.target > 0.0 ? format("%.2f", level.target) : "none";
    check_.lines.push_back(format("LEVEL n=%d target=%s solution=%s crowns=%s name=%s", level.number, target.c_str(),
                                  found.solution.c_str(), found.crowns.c_str(), inQuotes(level.name).c_str()));
    std::string suggestion;
    if (level.target <= 0.0 && found.fastest > 0.0)
      suggestion = format(" suggested-target=%.1f", suggestedTarget(found.fastest));
    check_.lines.push_back(format("PROOF n=%d %s%s", level.number, found.proof.c_str(), suggestion.c_str()));
    if (found.proven) ++check_.proven;
  }

  // Plays the level from its start, fresh, with `frames` stepping the simulator.
  template <typename Frames>
  PlayedRun play(const CampaignLevel& level, int levelCount, Frames frames) {
    ReplayScope::freshProgress(levelCount);
    Simulator simulator(level.path.c_str(), level.number - 1);
    frames(simulator);
    PlayedRun run;
    run.outcome = simulator.outcome();
    run.elapsed = simulator.elapsed();
    const PlayContext& context = simulator.session().context();
    run.golden = run.completed() && static_cast<int>(context.garbageCollected) == context.grid->looseCount;
    run.silver = run.golden && run.elapsed < level.target;
    return run;
  }

  static void noteCompletion(const PlayedRun& run, LevelFindings& found) {
    if (found.fastest <= 0.0 || run.elapsed < found.fastest) found.fastest = run.elapsed;
  }

  enum class Script { None, Bad, Ready };

  // Reads the level's script, reporting what is wrong with it.
  Script readScript(const std::string& file, InputScript& script) {
    std::string path = folder_ + "/" + file;
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return Script::None;
    Result<std::string> text = readWholeFile(path, kScriptBytes);
    if (!text.ok()) {
      report(shown(file) + ": " + readProblem(text.problem(), kScriptBytes));
      return Script::Bad;
    }
    std::istringstream in(text.value());
    Result<InputScript> read = InputScript::read(in, shown(file));
    if (read.ok()) script = std::move(read.value());
    if (!read.ok())
      report(scriptProblemLine(read.problem()));
    else if (script.frameCount() > kLongestSolution)
      report(shown(file) + format(": longer than %d frames", kLongestSolution));
    else
      return Script::Ready;
    return Script::Bad;
  }

  void replaySolution(const CampaignLevel& level, int levelCount, LevelFindings& found) {
    InputScript script;
    std::string file = "solutions/" + std::to_string(level.number) + ".txt";
    Script read = readScript(file, script);
    if (read == Script::Bad) found.solution = "failed";
    if (read != Script::Ready) return;
    PlayedRun run = play(level, levelCount, [&script](Simulator& simulator) {
      for (int frame = 1; frame <= script.frameCount(); ++frame) simulator.step(script.keysAt(frame), kReplayStep);
    });
    if (!run.completed()) {
      std::string state = run.outcome.status == Outcome::Dead ? "dead (" + run.outcome.reason + ")" : "still playing";
      report(shown(file) + format(": does not complete the level (after %d frames the avatar is %s)",
                                  script.frameCount(), state.c_str()));
      found.solution = "failed";
      return;
    }
    found.solution = format("%.2f", run.elapsed);
    found.crowns = run.crowns();
    noteCompletion(run, found);
  }

  // A proof kept on another version of the level is not played: it would only end otherwise.
  void replayProof(const CampaignLevel& level, int levelCount, LevelFindings& found) {
    FoundProof proof = findProof(folder_, level.number);
    std::string file = shown(std::filesystem::path(proof.file).lexically_relative(folder_).string());
    Result<uint64_t> hash = hashLevelFile(level.path);
    switch (proofStanding(proof, level.number, hash.ok() ? hash.value() : 0)) {
      case ProofStanding::Unproven:
        return;
      case ProofStanding::Damaged:
        report(file + ": " + proofProblem(proof, level.number).value());
        return;
      case ProofStanding::Stale:
        found.proof = format("stale (%s was kept on another version of %d.lv; play it again and keep a new proof)",
                             file.c_str(), level.number);
        return;
      case ProofStanding::Proven:
        break;
    }
    const Replay& replay = proof.loaded.value();
    std::optional<std::string> mismatch;
    PlayedRun run = play(level, levelCount, [&](Simulator& simulator) { mismatch = playReplay(simulator, replay); });
    if (mismatch) {
      report(file + ": " + *mismatch);
      return;
    }
    found.proof = format("proven time=%.2f crowns=%s", run.elapsed, run.crowns());
    found.proven = true;
    noteCompletion(run, found);
  }

  std::string folder_;
  std::string shown_;
  PackCheck check_;
};

}  // namespace

PackCheck checkPack(const std::string& folder, const std::string& shownAs, const CampaignPlaces* places) {
  return Checker(folder, shownAs).run(places);
}
