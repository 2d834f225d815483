#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/load_result.h"
#include "campaign/played_level.h"
#include "entities/outcome.h"
#include "entities/pop_up.h"
#include "gui/level_banner.h"
#include "gui/run_timer.h"
#include "states/pause.h"
#include "states/prompt.h"
#include "world/play_context.h"
#include "world/theme.h"
#include "world/world.h"

class Ghost;
class ReplayPlayback;
class RunKeeper;
struct Replay;

// The level index of the final screen; -1 is any other level that is not a numbered one.
constexpr int kFinalScreenIndex = -2;

// Whether a screen shown over a level lets it play on (the menu's scene) or holds it still (a
// paused level).
enum class SceneMotion { Moving, Frozen };

// What the state that ran a level does next.
enum class PlayResult { Menu, Retry, Next };

// One level being played. Ends with a result once the player leaves, retries, or goes on after
// a completion.
class PlayState : public AppState {
 public:
  // Ends the process with the loader's message when the level cannot be read (the simulator,
  // the benchmark and the editor's test play stop there).
  // The level is drawn in `theme` (the final screen in the first theme, whatever it is given).
  PlayState(int levelIndex, const char* fileName, Theme& theme);
  // Takes a world already filled with the level's pending records. A numbered level with a
  // name starts with its banner.
  PlayState(int levelIndex, std::unique_ptr<World> level, Theme& theme, PlayedLevel played = {});
  // Reads the level first, so a bad file never gets as far as a play state: on a problem gives
  // null and the loader's result in `problem`.
  static std::unique_ptr<PlayState> open(int levelIndex, const char* fileName, Theme& theme, LoadResult& problem,
                                         PlayedLevel played = {});
  ~PlayState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;
  bool onCloseRequest() override;
  // The pointer is hidden while the level is played and shows over its report and its pause.
  bool showsMouseCursor() const override;

  // A numbered level of a campaign: every run is kept in the player directory, and with `ghost`
  // the level's best run is raced by a ghost.
  void keepRuns(const std::string& campaign, int levelNumber, const std::string& fileName, bool ghost);
  // The level plays the replay in place of the player, who watches it.
  void watch(const Replay& replay);
  // Watches the replay of the level file in a play state nested in `outer`; the loader's result
  // when the level cannot be read.
  static LoadResult watchNested(AppState& outer, int levelIndex, const std::string& fileName, Theme& theme,
                                const Replay& replay);

  PlayResult result = PlayResult::Menu;
  int levelIndex;
  PlayedLevel played;
  std::unique_ptr<PlayContext> context;
  std::unique_ptr<World> world;  // goes before the context, whose grid deletes the level's tiles
  double zoom = 1.0;
  std::unique_ptr<PopUp> report;  // null until the level has ended
  Pause pause;
  std::unique_ptr<LevelBanner> banner;  // null once shown, and for a level without a name
  bool showTimer = false;               // the elapsed and the target time at the top of the screen
  // The timer's line as it shows now (none without the timer, or while a replay is watched).
  std::optional<RunTimerLine> timerLine() const;
  const Ghost* ghost() const { return ghost_.get(); }
  // The saves of this play that failed and that its report has not shown (a run left with
  // Escape ends without one), for the menu to show; taking them empties the list.
  std::vector<std::string> takeSaveFailures() { return std::move(saveFailures_); }
  // The editor's test of its level: paused like a numbered level, and left back to the editor.
  bool testPlay = false;
  // Shows the options over this level held still, from its pause menu; without it the pause
  // menu offers no options (the editor's test play, the tools).
  std::function<void(PlayState&)> openOptions;

 private:
  void addFinalScreenExtras();
  void addBanner();
  void finish(PlayResult playResult);
  void keepProgress();
  void addSaveFailures();
  void showCompletionReport();
  void showDeathReport(const std::string& reason);
  void addPrompt(const std::vector<PromptChoice>& left, const std::vector<PromptChoice>& right);
  void showPrompts();
  bool pausable() const;
  void updatePause(double dt);
  void showOverPause(AppState& screen);
  void readReportKeys(bool completed);
  const char* spaceAfterCompletion() const;
  void drawClosingZoom();
  void updateReplay();
  void showReplayEnd();
  void endRun(const Outcome& outcome);
  void watchLastRun();
  void drawRunTime() const;
  // What the timer must not cover: the report, the signs' panels, the banner.
  std::vector<Box> coveredByText() const;

  std::unique_ptr<RunKeeper> keeper_;  // while a numbered level's runs are kept
  std::unique_ptr<Ghost> ghost_;
  std::unique_ptr<ReplayPlayback> playback_;  // while a replay is watched
  std::string fileName_;                      // of a level whose runs are kept
  std::vector<std::string> saveFailures_;     // not yet shown
  // The report's lines that name keys, rewritten for the device the player used last.
  struct PromptLine {
    size_t line;
    std::vector<PromptChoice> left, right;
  };
  std::vector<PromptLine> prompts_;
  Key watchKey_{ALLEGRO_KEY_W};
  OnPress watchPressed_{&watchKey_};
};

// The closing zoom after a completion: the next zoom factor (per update, not per second), and
// the part of the screen that is scaled up to fill it, kept inside the 800 x 600 screen.
double nextZoom(double zoom);
Box closingZoomSource(double zoom, double avatarX, double avatarY);
