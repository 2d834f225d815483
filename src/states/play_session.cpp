#include "states/play_session.h"

#include <algorithm>
#include <filesystem>

#include "app/safe_file.h"
#include "campaign/progress.h"
#include "entities/avatar.h"
#include "entities/cloud.h"
#include "replay/best_run.h"
#include "replay/proof.h"
#include "replay/replay_file.h"
#include "replay/replay_switches.h"
#include "replay/run_keeper.h"
#include "states/ghost.h"
#include "states/replay_playback.h"
#include "themes/themes.h"
#include "world/tag.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCloudCount = 24;
const char* const kCrownHint = "If you do this under the target time, you will get a silver crown as well.";
const char* const kAssistedRun = "Assists were on: this run earns no silver crown and sets no best time.";

}  // namespace

PlaySession::PlaySession(PlayedLevel played, std::unique_ptr<World> level, Theme& theme)
    : played_(std::move(played)), context_(std::make_unique<PlayContext>()), world_(std::move(level)) {
  context_->player = played_.record;
  context_->theme = &theme;
  world_->context = context_.get();
  for (int i = 0; i < kCloudCount; ++i) world_->add<Cloud>(theme);
  world_->flush();
  context_->grid->build(*world_);
  // The final screen keeps the clouds made under the theme it was given, but shows the first
  // theme's sky and tint; the theme chosen in the menu is left as it was.
  if (played_.kind == PlayKind::FinalScreen) context_->theme = themes[0];
}

PlaySession::~PlaySession() = default;

void PlaySession::step(double dt) {
  if (keeper_ && !report_) keeper_->record(dt, readInput(context_->controls));
  if (proofRecorder_ && !report_) proofRecorder_->add(dt, readInput(context_->controls));
  if (ghost_ && !report_) ghost_->step();
  context_->theme->update(dt);
  world_->update(dt);
}

// Its end says so and offers to watch it again.
void PlaySession::stepReplay() {
  int frames = playback_->framesPerUpdate();
  double step = 0.0;
  for (int i = 0; i < frames && !report_; ++i) {
    if (!playback_->next(step)) {
      report_ = std::make_unique<Report>();
      report_->lines = {{"End of the run", "", true}};
      report_->choices = {{{ReportKey::Space}, ReportAction::Retry, "watch again"},
                          {{ReportKey::Escape}, ReportAction::Leave, "back"}};
      break;
    }
    context_->theme->update(step);
    world_->update(step);
  }
}

Avatar* PlaySession::avatar() { return world_->first<Avatar>(); }

Outcome PlaySession::outcome() {
  Avatar* player = avatar();
  return player ? player->outcome() : Outcome{};
}

void PlaySession::review() {
  if (report_) return;
  Outcome ended = outcome();
  if (ended.status == Outcome::Completed) report_ = std::make_unique<Report>(completionReport());
  if (ended.status == Outcome::Dead) report_ = std::make_unique<Report>(deathReport(ended.reason));
}

void PlaySession::leave() { endRun(Outcome{}); }

bool PlaySession::pausable() const {
  PlayKind kind = played_.kind;
  return (kind == PlayKind::Numbered || kind == PlayKind::Watch || kind == PlayKind::TestPlay) && !report_;
}

// A watched run neither reports nor keeps anything.
void PlaySession::watch(const Replay& replay) {
  playback_ = std::make_unique<ReplayPlayback>(replay);
  context_->controls = playback_->controls();
  context_->player = nullptr;
}

void PlaySession::useAssists(const Assists& assists) {
  assists_ = assists;
  context_->invincible = assists.invincible;
  if (report_) return;
  assisted_ = assisted_ || assists.any();
  invincibleUsed_ = invincibleUsed_ || assists.invincible;
}

void PlaySession::offerWayThrough(const Replay& run, int earlierDeaths) {
  wayThrough_ = std::make_unique<Replay>(run);
  earlierDeaths_ = earlierDeaths;
}

// This play's death counts from the moment the avatar dies.
bool PlaySession::wayThroughOffered() {
  int deaths = earlierDeaths_ + (outcome().status == Outcome::Dead ? 1 : 0);
  return assists_.hint && wayThrough_ && deaths >= kDeathsBeforeHint;
}

void PlaySession::keepRuns(const std::string& campaign, int number, const std::string& levelFile, bool ghost) {
  uint64_t hash = 0;
  if (!hashLevelFile(levelFile, hash).ok) return;
  keeper_ = std::make_unique<RunKeeper>(campaign, number, hash);
  levelFile_ = levelFile;
  if (!ghost) return;
  BestRun best = findBestRun(campaign, number - 1, levelFile, played_.record->levelCompleted(number - 1));
  if (best.replay) ghost_ = Ghost::open(levelFile.c_str(), *best.replay, *context_->theme);
}

void PlaySession::recordProof(const std::string& packFolder, int number, const std::string& levelFile) {
  uint64_t played = 0;
  uint64_t kept = 0;
  std::string packFile = packFolder + "/" + std::to_string(number) + ".lv";
  if (!hashLevelFile(levelFile, played).ok || !hashLevelFile(packFile, kept).ok || played != kept) {
    proofHint_ = "This is not the level in " + packFile + ": save it, then test it again, to keep a run as its proof.";
    return;
  }
  proofFolder_ = packFolder;
  std::string campaign = fs::path(packFolder).lexically_normal().filename().string();
  if (campaign.empty()) campaign = fs::path(packFolder).lexically_normal().parent_path().filename().string();
  proofRecorder_ = std::make_unique<ReplayRecorder>(campaign, number, played);
}

void PlaySession::keepProof() {
  if (!proofRun_ || !report_) return;
  FileResult kept = ::keepProof(proofFolder_, *proofRun_);
  std::string line = kept.ok ? format("This run is now the proof of level %d: %s", proofRun_->level,
                                      proofFile(proofFolder_, proofRun_->level).c_str())
                             : failedSaveLine("the proof", kept);
  proofRun_.reset();
  report_->lines.push_back({line, "", true});
  auto& choices = report_->choices;
  choices.erase(std::remove_if(choices.begin(), choices.end(),
                               [](const ReportChoice& choice) { return choice.action == ReportAction::KeepProof; }),
                choices.end());
}

const Replay* PlaySession::lastRun() const { return keeper_ ? keeper_->run() : nullptr; }

double PlaySession::targetTime() const { return played_.record->targetTime(played_.index()); }

// A run ends once: at its death or completion, or when the level is left still playing.
void PlaySession::endRun(const Outcome& outcome) {
  if (!keeper_) return;
  RunHelp help = invincibleUsed_ ? RunHelp::Invincible : assisted_ ? RunHelp::Assisted : RunHelp::None;
  std::vector<std::string> failures = keeper_->end(outcome, context_->elapsedTime, help);
  saveFailures_.insert(saveFailures_.end(), failures.begin(), failures.end());
}

// Only the numbered levels' plays write the record; the menu's scene, the final screen and the
// editor's test plays leave the file alone.
void PlaySession::keepProgress() {
  if (played_.kind != PlayKind::Numbered) return;
  FileResult kept = played_.record->keep();
  if (!kept.ok) saveFailures_.push_back(failedSaveLine("progress", kept));
}

Report PlaySession::completionReport() {
  const PlayContext& context = *context_;
  int collected = static_cast<int>(context.garbageCollected);
  int loose = context.grid->looseCount;
  bool allGarbage = collected == loose;
  played_.record->recordCompletion(played_.index(), allGarbage, context.elapsedTime, assisted_);
  keepProgress();
  endRun(Outcome{Outcome::Completed, ""});
  // The editor's test of a level of no campaign has no target, and no silver crown to offer.
  bool targeted = played_.kind != PlayKind::TestPlay || played_.index() >= 0;
  double target = targetTime();
  // Nothing to collect means all of it was collected.
  int percentage = loose == 0 ? 100 : static_cast<int>(collected * 100.0 / loose);
  Report report;
  report.lines = {
      {"You have completed the level!", ""},
      {"", ""},
      {"Loose garbage collected:", format("%d%%", percentage)},
      {"Elapsed time:", format("%.2lfs", context.elapsedTime)},
  };
  if (targeted) report.lines.push_back({"Target time:", format("%.2lfs", target)});
  report.lines.insert(report.lines.end(),
                      {
                          {"Jumps performed:", format("%d", static_cast<int>(context.jumps))},
                          {"Double jumps:", format("%d", static_cast<int>(context.doubleJumps))},
                          {"Pixels traversed:", format("%d", static_cast<int>(context.pixelsTraversed))},
                          {"Throws:", format("%d", static_cast<int>(context.throws))},
                          {"", ""},
                      });
  addCrownLines(report, allGarbage, targeted);
  addSaveFailures(report);
  if (proofRecorder_) proofRun_ = proofRecorder_->replay(Outcome{Outcome::Completed, ""}, context.elapsedTime);
  if (!proofHint_.empty()) report.lines.push_back({proofHint_, "", true});
  addChoices(report, true);
  return report;
}

// An assisted run says what it did not earn in place of the silver crown's line; a level of no
// target has none.
void PlaySession::addCrownLines(Report& report, bool allGarbage, bool targeted) {
  bool silver = allGarbage && !assisted_ && context_->elapsedTime < targetTime();
  report.lines.push_back({allGarbage ? "You have gathered all the loose garbage! A golden crown for you!"
                                     : "Try to get all the loose garbage on a level to earn a golden crown.",
                          "", true});
  if (assisted_) {
    report.lines.push_back({kAssistedRun, "", true});
  } else if (targeted) {
    report.lines.push_back(
        {silver ? "And all that under the target time, well done! Silver crown awarded!" : kCrownHint, "", true});
  }
}

Report PlaySession::deathReport(const std::string& reason) {
  keepProgress();
  endRun(Outcome{Outcome::Dead, reason});
  Report report;
  report.lines = {
      {format("You %s.", reason.c_str()), ""},
      {"", ""},
      {"Total deaths so far:", format("%d", static_cast<int>(played_.record->deaths))},
      {"", ""},
  };
  addSaveFailures(report);
  addChoices(report, false);
  return report;
}

// In the report, at the time they happen, highlighted: a player who goes on from level to level
// never sees the menu.
void PlaySession::addSaveFailures(Report& report) {
  for (const std::string& line : saveFailures_) report.lines.push_back({line, "", true});
  saveFailures_.clear();
}

// Space goes on after a completion and retries after a death; the editor's test play goes back
// to the editor where a level would go on or leave to the menu.
void PlaySession::addChoices(Report& report, bool completed) {
  bool testPlay = played_.kind == PlayKind::TestPlay;
  if (lastRun()) report.choices.push_back({{ReportKey::W}, ReportAction::WatchRun, "watch this run"});
  if (completed && proofRun_)
    report.choices.push_back({{ReportKey::K}, ReportAction::KeepProof, "keep this run as the level's proof"});
  if (!completed && wayThroughOffered())
    report.choices.push_back({{ReportKey::H}, ReportAction::WatchWayThrough, "watch a way through"});
  if (completed) {
    report.choices.push_back({{ReportKey::Space}, ReportAction::Next, spaceAfterCompletion()});
    report.choices.push_back({{ReportKey::R}, ReportAction::Retry, "retry"});
  } else {
    report.choices.push_back({{ReportKey::Space, ReportKey::R}, ReportAction::Retry, "retry"});
  }
  report.choices.push_back(
      {{ReportKey::Escape}, ReportAction::Leave, testPlay ? "back to the editor" : "back to menu"});
}

// After the last level Space leads to the final screen once every level is completed.
const char* PlaySession::spaceAfterCompletion() const {
  if (played_.kind == PlayKind::TestPlay) return "back to the editor";
  if (!played_.last) return "next level";
  return played_.record->tally().allCompleted ? "to the final screen" : "back to the menu";
}

std::vector<std::string> finalScreenLines(const Progress& record) {
  const LevelTally tally = record.tally();
  bool allPoints = tally.points == tally.maximumPoints;
  return {"WELL DONE!", "You have completed the game!",
          allPoints ? "And you have all the unlock points, I'm impressed!"
                    : "Now try to earn all the unlock points on all the levels!"};
}
