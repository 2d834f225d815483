#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/load_result.h"
#include "app/switch.h"
#include "campaign/played_level.h"
#include "entities/pop_up.h"
#include "gui/level_banner.h"
#include "gui/run_timer.h"
#include "states/pause.h"
#include "states/play_session.h"
#include "world/theme.h"
#include "world/world.h"

struct Replay;

// Whether a screen shown over a level lets it play on (the menu's scene) or holds it still (a
// paused level).
enum class SceneMotion { Moving, Frozen };

// What the state that ran a level does next.
enum class PlayResult { Menu, Retry, Next };

// One level being played: turns the keys into calls on its session and draws it, with the
// pause, the name banner, the timer, the report panel and the closing zoom. Ends with a result
// once the player leaves, retries, or goes on after a completion.
class PlayState : public AppState {
 public:
  // Ends the process with the loader's message when the level cannot be read (the simulator,
  // the benchmark and the editor's test play stop there).
  PlayState(PlayedLevel played, const char* fileName, Theme& theme);
  // Takes a world already filled with the level's pending records. A numbered level with a
  // name starts with its banner.
  PlayState(PlayedLevel played, std::unique_ptr<World> level, Theme& theme);
  // Reads the level first, so a bad file never gets as far as a play state: on a problem gives
  // null and the loader's result in `problem`.
  static std::unique_ptr<PlayState> open(PlayedLevel played, const char* fileName, Theme& theme, LoadResult& problem);
  ~PlayState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;
  bool onCloseRequest() override;
  // The pointer is hidden while the level is played and shows over its report and its pause.
  bool showsMouseCursor() const override;

  // Watches the replay of the level file in a play state nested in `outer`; the loader's result
  // when the level cannot be read.
  static LoadResult watchNested(AppState& outer, const PlayedLevel& watched, const std::string& fileName, Theme& theme,
                                const Replay& replay);

  PlaySession& session() { return *session_; }
  PlayResult result() const { return result_; }
  bool paused() const { return pause_.paused(); }
  // The pause menu's buttons while it is open (empty otherwise), in its order.
  std::vector<GuiButton*> pauseButtons() const { return pause_.buttons(); }
  // The report panel's lines as shown, or null before the level has ended.
  const PopUp* reportPanel() const { return reportPanel_.get(); }
  // Shows the options over this level held still, from its pause menu; without it the pause
  // menu offers no options (the editor's test play, the tools).
  std::function<void(PlayState&)> openOptions;
  // While shown: the level's name, the first two seconds.
  const LevelBanner* banner() const { return banner_.get(); }
  // The elapsed and the target time at the top of the screen.
  void showTimer(bool shown) { timerShown_ = shown; }
  // The player's assists, for a numbered level only (the menu's scene and the other plays are
  // not the player's runs): its session's, and the game speed as the pace of this state's clock.
  void useAssists(const Assists& assists);
  // The timer's line as it shows now: none without the timer, or while a replay is watched.
  std::optional<RunTimerLine> timerLine();
  // The panel over the ended level, and the closing zoom's factor (the drawing checks set them).
  void showReport(const Report& report);
  void zoomTo(double zoom) { zoom_ = zoom; }

 private:
  void addFinalScreenWords();
  void updateBanner(double dt);
  void readPlayKeys();
  void readReportKeys(const Report& report);
  bool held(ReportKey key);
  bool heldOnPad(ReportKey key);
  void updatePause(double dt);
  void showOverPause(AppState& screen);
  std::vector<Box> coveredByText();
  void choose(ReportAction action);
  void finish(PlayResult playResult);
  void updateReplay();
  void watchLastRun();
  void watchRun(const Replay& run);
  void drawClosingZoom();
  void drawRunTime();

  std::unique_ptr<PlaySession> session_;
  PlayResult result_ = PlayResult::Menu;
  double zoom_ = 1.0;
  std::unique_ptr<PopUp> reportPanel_;               // null until the level has ended
  InputDevice panelDevice_ = InputDevice::Keyboard;  // whose names the panel shows
  Pause pause_;
  std::unique_ptr<LevelBanner> banner_;  // null once shown, and for a level without a name
  bool timerShown_ = false;
  Key watchKey_{ALLEGRO_KEY_W};
  OnPress watchPressed_{&watchKey_};
  Key keepKey_{ALLEGRO_KEY_K};
  OnPress keepPressed_{&keepKey_};
  Key hintKey_{ALLEGRO_KEY_H};
  OnPress hintPressed_{&hintKey_};
};

// The closing zoom after a completion: the next zoom factor (per update, not per second), and
// the part of the screen that is scaled up to fill it, kept inside the 800 x 600 screen.
double nextZoom(double zoom);
Box closingZoomSource(double zoom, double avatarX, double avatarY);
