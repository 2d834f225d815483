#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "campaign/played_level.h"
#include "entities/outcome.h"
#include "replay/replay.h"
#include "replay/replay_recorder.h"
#include "states/play_report.h"
#include "world/play_context.h"
#include "world/theme.h"
#include "world/world.h"

class Avatar;
class Ghost;
class ReplayPlayback;
class RunKeeper;

// One level being played, without a display: its world and context, the run kept of it, the
// ghost that races it or the replay played in the player's place, and, once the level has
// ended, the report with what it offers. The play state turns keys into calls on it and draws it.
class PlaySession {
 public:
  // Takes a world already filled with the level's pending records. The level is drawn in
  // `theme`, the final screen in the first theme whatever it is given.
  PlaySession(PlayedLevel played, std::unique_ptr<World> level, Theme& theme);
  ~PlaySession();
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;

  // One frame of the level played: the run's input recorded and the ghost's frame (both until
  // the level ends), the theme, the world.
  void step(double dt);
  // The frames of the watched replay for this update; after the last one, the report of its
  // end.
  void stepReplay();
  // Reads the avatar's outcome: the first frame the level has ended in records it and makes
  // the report.
  void review();
  // The player leaves or retries: a run still being kept is kept as it stands (once).
  void leave();

  // Every run is kept in the player directory as run `number` of the campaign, and with `ghost`
  // the level's best run is raced by a ghost.
  void keepRuns(const std::string& campaign, int number, const std::string& levelFile, bool ghost);
  // The replay plays in place of the player, who watches it.
  void watch(const Replay& replay);
  // The player's assists from now on (they may change while the level is paused). A run with
  // any of them on at any moment earns no silver crown and sets no best time or best run.
  void useAssists(const Assists& assists);
  bool assisted() const { return assisted_; }
  // The campaign's way through the level, and the deaths the player has already died in it:
  // with the hint on, it is offered once they come to kDeathsBeforeHint with this play's.
  void offerWayThrough(const Replay& run, int earlierDeaths);
  bool wayThroughOffered();
  // Null while none was given.
  const Replay* wayThrough() const { return wayThrough_.get(); }
  // The editor's test of level `number` of the pack in `packFolder`, played from `levelFile`:
  // the run is recorded, and once it has completed the level the report offers to keep it as
  // the level's proof. A level file that is not the pack's (unsaved edits) offers none, and
  // says why.
  void recordProof(const std::string& packFolder, int number, const std::string& levelFile);
  // Keeps the completed run as the level's proof, and says so (or why it could not) in the
  // report, which then no longer offers it.
  void keepProof();

  const PlayedLevel& played() const { return played_; }
  PlayContext& context() { return *context_; }
  World& world() { return *world_; }
  Avatar* avatar();
  // Playing while the level has no avatar.
  Outcome outcome();
  // Null until the level has ended (and while a replay is watched, until its end).
  const Report* report() const { return report_.get(); }
  bool pausable() const;
  bool watching() const { return playback_ != nullptr; }
  ReplayPlayback* playback() { return playback_.get(); }
  Ghost* ghost() { return ghost_.get(); }
  // The run just ended, to be watched; null while none is kept.
  const Replay* lastRun() const;
  const std::string& levelFile() const { return levelFile_; }
  // The level's target time in its campaign (s).
  double targetTime() const;
  // The saves of this play that failed and that its report has not shown (a run left with
  // Escape ends without one), for the menu to show; taking them empties the list.
  std::vector<std::string> takeSaveFailures() { return std::move(saveFailures_); }

 private:
  void endRun(const Outcome& outcome);
  void keepProgress();
  Report completionReport();
  Report deathReport(const std::string& reason);
  void addChoices(Report& report, bool completed);
  const char* spaceAfterCompletion() const;
  void addSaveFailures(Report& report);
  void addCrownLines(Report& report, bool allGarbage, bool targeted);

  PlayedLevel played_;
  std::unique_ptr<PlayContext> context_;
  std::unique_ptr<World> world_;       // goes before the context, whose grid deletes the level's tiles
  std::unique_ptr<RunKeeper> keeper_;  // while a numbered level's runs are kept
  std::unique_ptr<Ghost> ghost_;
  std::unique_ptr<ReplayPlayback> playback_;  // while a replay is watched
  std::unique_ptr<Report> report_;
  std::unique_ptr<ReplayRecorder> proofRecorder_;  // while a test play's run may become a proof
  std::optional<Replay> proofRun_;                 // the completed run, until it is kept
  std::string proofFolder_;                        // the pack the proof goes to
  std::string proofHint_;                          // why no proof can be kept, for the report
  std::string levelFile_;                          // of a level whose runs are kept
  std::vector<std::string> saveFailures_;          // not yet shown
  Assists assists_;
  bool assisted_ = false;        // an assist was on at some moment of the run
  bool invincibleUsed_ = false;  // invincibility was, at some moment of the run
  std::unique_ptr<Replay> wayThrough_;
  int earlierDeaths_ = 0;
};

constexpr int kDeathsBeforeHint = 3;

// The closing lines of the final screen, from the record's tally.
std::vector<std::string> finalScreenLines(const Progress& record);
