#include "states/play_state.h"

#include <memory>

#include "app/blend.h"
#include "app/game_window.h"
#include "app/geometry.h"
#include "app/music.h"
#include "app/safe_file.h"
#include "campaign/progress.h"
#include "entities/avatar.h"
#include "entities/cloud.h"
#include "entities/prototypes.h"
#include "gui/gui_text.h"
#include "gui/run_timer.h"
#include "replay/best_run.h"
#include "replay/replay_file.h"
#include "replay/replay_switches.h"
#include "replay/run_keeper.h"
#include "states/ghost.h"
#include "states/help_state.h"
#include "states/pause_menu.h"
#include "states/replay_playback.h"
#include "themes/themes.h"
#include "world/channel_states.h"
#include "world/level.h"
#include "world/tag.h"

namespace {

constexpr int kCloudCount = 24;
constexpr double kZoomKeep = 0.95;   // of the zoom per update
constexpr double kZoomGrowth = 0.2;  // added per update
constexpr double kZoomNearlyFull = 3.99;
constexpr double kFullZoom = 4.0;
constexpr double kZoomTargetX = 10.0;   // px right of the avatar's x
constexpr double kZoomTargetY = -20.0;  // px below the avatar's y: just above its head
constexpr double kFinalTextX = 400.0;   // px

const PromptChoice kRetry{{"R"}, {PadButton::X}, "retry"};
const PromptChoice kRetryAfterDeath{{"SPACE", "R"}, {PadButton::A, PadButton::X}, "retry"};
const PromptChoice kWatchThisRun{{"W"}, {PadButton::Y}, "watch this run"};
PromptChoice spaceDoes(const char* does) { return {{"SPACE"}, {PadButton::A}, does}; }
PromptChoice escapeDoes(const char* does) { return {{"ESC"}, {PadButton::B}, does}; }
const char* const kCrownHint = "If you do this under the target time, you will get a silver crown as well.";

std::unique_ptr<World> loadedLevel(const char* fileName) {
  auto level = std::make_unique<World>();
  loadLevel(fileName, *level);
  return level;
}

struct BitmapDestroyer {
  void operator()(ALLEGRO_BITMAP* bitmap) const { al_destroy_bitmap(bitmap); }
};

}  // namespace

double nextZoom(double zoom) {
  double grown = zoom * kZoomKeep + kZoomGrowth;
  return grown > kZoomNearlyFull ? kFullZoom : grown;
}

// The rectangle keeps its size and is slid back inside the screen, so the zoom never shows
// anything beyond the screen's edges.
// Moves the span [low, high) without changing its length so it lies within [0, limit).
static void shiftInside(double& low, double& high, double limit) {
  if (low < 0) {
    high -= low;
    low = 0;
  }
  if (high > limit) {
    low -= high - limit;
    high = limit;
  }
}

Box closingZoomSource(double zoom, double avatarX, double avatarY) {
  float f = static_cast<float>((zoom - 1) / 3);
  double centreX = kScreenWidth / 2 * (1 - f) + f * (avatarX + kZoomTargetX);
  double centreY = kScreenHeight / 2 * (1 - f) + f * (avatarY + kZoomTargetY);
  Box source{centreX - kScreenWidth / 2 / zoom, centreY - kScreenHeight / 2 / zoom, centreX + kScreenWidth / 2 / zoom,
             centreY + kScreenHeight / 2 / zoom};
  shiftInside(source.left, source.right, kScreenWidth);
  shiftInside(source.top, source.bottom, kScreenHeight);
  return source;
}

PlayState::PlayState(int levelIndex_, const char* fileName, Theme& theme)
    : PlayState(levelIndex_, loadedLevel(fileName), theme) {}

PlayState::PlayState(int levelIndex_, std::unique_ptr<World> level, Theme& theme, PlayedLevel played_)
    : AppState(al_get_current_display()),
      levelIndex(levelIndex_),
      played(std::move(played_)),
      context(std::make_unique<PlayContext>()),
      world(std::move(level)) {
  context->player = played.record;
  context->theme = &theme;
  world->context = context.get();
  for (int i = 0; i < kCloudCount; ++i) world->add(new Cloud(theme));
  world->flush();
  context->grid->build(*world);
  if (levelIndex == kFinalScreenIndex) addFinalScreenExtras();
  if (levelIndex >= 0 && !played.name.empty()) addBanner();
}

std::unique_ptr<PlayState> PlayState::open(int levelIndex, const char* fileName, Theme& theme, LoadResult& problem,
                                           PlayedLevel played) {
  auto level = std::make_unique<World>();
  problem = readLevel(fileName, *level);
  if (!problem.ok()) return nullptr;
  return std::make_unique<PlayState>(levelIndex, std::move(level), theme, std::move(played));
}

void PlayState::addBanner() {
  Entity* avatar = world->first(tagOf("avat"));
  banner = std::make_unique<LevelBanner>(played.name, avatar ? avatar->y() : -1.0);
}

PlayState::~PlayState() = default;

// The final screen keeps the clouds made under the theme it was given, but shows the first
// theme's sky and tint; the theme chosen in the menu is left as it was.
void PlayState::addFinalScreenExtras() {
  context->theme = themes[0];
  stopMusic();
  loadMusic("media/unreal_superhero.xm", 0);
  const LevelTally tally = played.record->tally();
  bool allPoints = tally.points == tally.maximumPoints;
  world->add(new GuiText(kFinalTextX, 40, "WELL DONE!"));
  world->add(new GuiText(kFinalTextX, 80, "You have completed the game!"));
  world->add(new GuiText(kFinalTextX, 120,
                         allPoints ? "And you have all the unlock points, I'm impressed!"
                                   : "Now try to earn all the unlock points on all the levels!"));
  world->flush();
}

bool PlayState::onCloseRequest() {
  finish(PlayResult::Menu);
  return true;
}

bool PlayState::showsMouseCursor() const { return report || pause.paused() || (levelIndex < 0 && !testPlay); }

// Space is tested last so that after the level has ended it overrides Escape and R.
void PlayState::update(double dt) {
  bool pauseAsked = pause.asked();
  if (pause.paused()) return updatePause(dt);
  if (pauseAsked && pausable()) {
    PausedPlay paused = playback_ ? PausedPlay::Replay : testPlay ? PausedPlay::TestPlay : PausedPlay::Level;
    return pause.open(pauseEntries(paused, static_cast<bool>(openOptions)));
  }
  if (playback_) return updateReplay();
  if (keeper_ && !report) keeper_->record(dt, readInput(context->controls));
  if (ghost_ && !report) ghost_->step();
  context->theme->update(dt);
  world->update(dt);
  if (banner) {
    banner->update(dt);
    if (banner->over()) banner.reset();
  }
  bool reportShown = report != nullptr;
  Switch** controls = Controls();
  if (controls[kControlEscape]->isDown()) finish(PlayResult::Menu);
  if (controls[kControlRetry]->isDown()) finish(PlayResult::Retry);
  auto* avatar = static_cast<Avatar*>(world->first(tagOf("avat")));
  if (!avatar) return;
  Outcome outcome = avatar->outcome();
  if (outcome.status == Outcome::Completed) {
    if (!report) showCompletionReport();
    zoom = nextZoom(zoom);
  }
  if (outcome.status == Outcome::Dead && !report) showDeathReport(outcome.reason);
  if (outcome.status != Outcome::Playing && controls[kControlSpace]->isDown())
    finish(outcome.status == Outcome::Completed ? PlayResult::Next : PlayResult::Retry);
  if (reportShown) readReportKeys(outcome.status == Outcome::Completed);
  if (report && watchPressed_.isDown() && status == RunStatus::Running) watchLastRun();
  showPrompts();
}

// The pad answers a report only once it shows: A or B pressed to jump or throw as the level
// ended must not pass over it unread.
void PlayState::readReportKeys(bool completed) {
  Switch** controls = Controls();
  if (controls[kControlPadB]->isDown()) finish(PlayResult::Menu);
  if (controls[kControlPadX]->isDown()) finish(PlayResult::Retry);
  if (controls[kControlPadA]->isDown()) finish(completed ? PlayResult::Next : PlayResult::Retry);
  if (controls[kControlPadY]->isDown() && status == RunStatus::Running) watchLastRun();
}

bool PlayState::pausable() const { return (levelIndex >= 0 || testPlay) && !report; }

// Retry and the way out end the play; options and help show over the level held still and
// come back to the menu.
void PlayState::updatePause(double dt) {
  std::optional<PauseChoice> chosen = pause.update(dt);
  if (chosen == PauseChoice::Retry) finish(PlayResult::Retry);
  if (chosen == PauseChoice::Leave) finish(PlayResult::Menu);
  if (chosen == PauseChoice::Help) {
    HelpState help(*this, SceneMotion::Frozen);
    showOverPause(help);
  }
  if (chosen == PauseChoice::Options && openOptions) {
    pause.setCovered(true);
    openOptions(*this);
    pause.setCovered(false);
  }
}

void PlayState::showOverPause(AppState& screen) {
  pause.setCovered(true);
  runNested(*this, screen);
  pause.setCovered(false);
}

void PlayState::finish(PlayResult playResult) {
  endRun(Outcome{});
  result = playResult;
  status = RunStatus::Done;
}

void PlayState::keepRuns(const std::string& campaign, int levelNumber, const std::string& fileName, bool ghost) {
  uint64_t hash = 0;
  if (!hashLevelFile(fileName, hash).ok) return;
  keeper_ = std::make_unique<RunKeeper>(campaign, levelNumber, hash);
  fileName_ = fileName;
  if (!ghost) return;
  BestRun best = findBestRun(campaign, levelNumber - 1, fileName, played.record->levelCompleted(levelNumber - 1));
  if (best.replay) ghost_ = Ghost::open(fileName.c_str(), *best.replay, *context->theme);
}

// A run ends once: at its death or completion, or when the level is left still playing.
void PlayState::endRun(const Outcome& outcome) {
  if (!keeper_) return;
  std::vector<std::string> failures = keeper_->end(outcome, context->elapsedTime);
  saveFailures_.insert(saveFailures_.end(), failures.begin(), failures.end());
}

void PlayState::watch(const Replay& replay) {
  playback_ = std::make_unique<ReplayPlayback>(replay);
  context->controls = playback_->controls();
  context->player = nullptr;
}

LoadResult PlayState::watchNested(AppState& outer, int levelIndex, const std::string& fileName, Theme& theme,
                                  const Replay& replay) {
  LoadResult problem;
  PlayResult watched = PlayResult::Retry;
  while (watched == PlayResult::Retry && outer.status == RunStatus::Running) {
    std::unique_ptr<PlayState> play = open(levelIndex, fileName.c_str(), theme, problem);
    if (!play) return problem;
    play->watch(replay);
    runNested(outer, *play);
    watched = play->result;
  }
  return problem;
}

// A watched run neither reports nor keeps anything; Escape leaves it, P pauses it. Its end
// says so and offers to watch it again (the result Retry).
void PlayState::updateReplay() {
  int frames = playback_->framesPerUpdate();
  double step = 0.0;
  for (int i = 0; i < frames && !report; ++i) {
    if (!playback_->next(step)) {
      showReplayEnd();
      break;
    }
    context->theme->update(step);
    world->update(step);
  }
  Switch** controls = Controls();
  if (controls[kControlEscape]->isDown() || (report && controls[kControlPadB]->isDown())) finish(PlayResult::Menu);
  if (report && (controls[kControlSpace]->isDown() || controls[kControlPadA]->isDown())) finish(PlayResult::Retry);
  showPrompts();
}

void PlayState::showReplayEnd() {
  report = std::make_unique<PopUp>();
  report->addLine("End of the run", " ");
  report->addLine("", "");
  addPrompt({spaceDoes("watch again")}, {escapeDoes("back")});
  report->visible = true;
}

// The report stays as it was when the watched run is left.
void PlayState::watchLastRun() {
  const Replay* run = keeper_ ? keeper_->run() : nullptr;
  if (run) watchNested(*this, levelIndex, fileName_, *context->theme, *run);
}

// Only the numbered levels' plays write the record; the menu's scene, the final screen and the
// editor's test plays leave the file alone.
void PlayState::keepProgress() {
  if (levelIndex < 0) return;
  FileResult kept = played.record->keep();
  if (!kept.ok) saveFailures_.push_back(failedSaveLine("progress", kept));
}

// In the report, at the time they happen, highlighted: a player who goes on from level to level
// never sees the menu.
void PlayState::addSaveFailures() {
  for (const std::string& line : saveFailures_) report->addLine(line, " ");
  saveFailures_.clear();
}

void PlayState::showCompletionReport() {
  int collected = static_cast<int>(context->garbageCollected);
  int loose = context->grid->looseCount;
  bool allGarbage = collected == loose;
  Progress& record = *played.record;
  record.recordCompletion(levelIndex, allGarbage, context->elapsedTime);
  keepProgress();
  endRun(Outcome{Outcome::Completed, ""});
  double target = record.targetTime(levelIndex);
  // Nothing to collect means all of it was collected.
  int percentage = loose == 0 ? 100 : static_cast<int>(collected * 100.0 / loose);
  report = std::make_unique<PopUp>();
  report->addLine("You have completed the level!", "");
  report->addLine("", "");
  report->addLine("Loose garbage collected:", format("%d%%", percentage));
  report->addLine("Elapsed time:", format("%.2lfs", context->elapsedTime));
  report->addLine("Target time:", format("%.2lfs", target));
  report->addLine("Jumps performed:", format("%d", static_cast<int>(context->jumps)));
  report->addLine("Double jumps:", format("%d", static_cast<int>(context->doubleJumps)));
  report->addLine("Pixels traversed:", format("%d", static_cast<int>(context->pixelsTraversed)));
  report->addLine("Throws:", format("%d", static_cast<int>(context->throws)));
  report->addLine("", "");
  if (allGarbage) {
    report->addLine("You have gathered all the loose garbage! A golden crown for you!", " ");
    report->addLine(context->elapsedTime < target
                        ? "And all that under the target time, well done! Silver crown awarded!"
                        : kCrownHint,
                    " ");
  } else {
    report->addLine("Try to get all the loose garbage on a level to earn a golden crown.", " ");
    report->addLine(kCrownHint, " ");
  }
  addSaveFailures();
  report->addLine("", "");
  if (keeper_) addPrompt({kWatchThisRun}, {});
  addPrompt({spaceDoes(spaceAfterCompletion()), kRetry},
            {escapeDoes(testPlay ? "back to the editor" : "back to menu")});
  report->visible = true;
}

// After the last level Space leads to the final screen once every level is completed.
const char* PlayState::spaceAfterCompletion() const {
  if (testPlay) return "back to the editor";
  if (!played.last) return "next level";
  return played.record->tally().allCompleted ? "to the final screen" : "back to the menu";
}

void PlayState::showDeathReport(const std::string& reason) {
  keepProgress();
  endRun(Outcome{Outcome::Dead, reason});
  report = std::make_unique<PopUp>();
  report->addLine(format("You %s.", reason.c_str()), "");
  report->addLine("", "");
  report->addLine("Total deaths so far:", format("%d", static_cast<int>(played.record->deaths)));
  report->addLine("", "");
  addSaveFailures();
  report->addLine("", "");
  if (keeper_) addPrompt({kWatchThisRun}, {});
  addPrompt({kRetryAfterDeath}, {escapeDoes(testPlay ? "back to the editor" : "back to menu")});
  report->visible = true;
}

void PlayState::addPrompt(const std::vector<PromptChoice>& left, const std::vector<PromptChoice>& right) {
  prompts_.push_back({report->lines.size(), left, right});
  report->addLine("", "");
  showPrompts();
}

void PlayState::showPrompts() {
  InputDevice device = lastInputDevice();
  for (const PromptLine& prompt : prompts_) {
    report->lines[prompt.line] = {promptText(prompt.left, device), promptText(prompt.right, device)};
  }
}

void PlayState::draw(ALLEGRO_DISPLAY*) {
  Theme& theme = *context->theme;
  drawSky(theme);
  theme.beforeEntities();
  world->draw();
  if (ghost_) ghost_->draw();
  theme.afterEntities();
  if (zoom > 1.0) drawClosingZoom();
  if (banner) banner->draw();
  drawRunTime();
  if (report) report->draw();
  pause.draw();
}

void PlayState::drawClosingZoom() {
  flushDrawing();
  std::unique_ptr<ALLEGRO_BITMAP, BitmapDestroyer> copy(al_clone_bitmap(al_get_backbuffer(al_get_current_display())));
  if (!copy) return;
  auto [avatarX, avatarY] = world->first(tagOf("avat"))->position();
  Box source = closingZoomSource(zoom, avatarX, avatarY);
  if (GameWindow* window = GameWindow::current())
    window->toBackBuffer(source.left, source.top, source.right, source.bottom);
  // The copy replaces the picture outright: blending it would let the unzoomed picture show
  // through wherever translucent drawing left the back buffer's alpha below one.
  setBlender(ALLEGRO_ONE, ALLEGRO_ZERO, al_map_rgb(255, 255, 255));
  drawScaledBitmap(copy.get(), source.left, source.top, source.right - source.left, source.bottom - source.top, 0, 0,
                   kScreenWidth, kScreenHeight, 0);
  flushDrawing();
  resetBlender();
}

void PlayState::drawRunTime() const {
  if (playback_) {
    drawReplayMark(replayMarkText(context->elapsedTime, playback_->speed(), lastInputDevice()));
  } else if (std::optional<RunTimerLine> line = timerLine()) {
    drawRunTimer(*line);
  }
}

// The target is the played campaign's: a pack's level has its own.
std::optional<RunTimerLine> PlayState::timerLine() const {
  if (!showTimer || levelIndex < 0 || playback_) return std::nullopt;
  return runTimerLine(context->elapsedTime, played.record->targetTime(levelIndex), coveredByText());
}

std::vector<Box> PlayState::coveredByText() const {
  std::vector<Box> covered;
  if (report && report->visible) covered.push_back(report->panel());
  if (banner && !banner->over()) covered.push_back(banner->band());
  for (Entity* entity : world->byTag(tagOf("rndr"))) {
    auto* panel = dynamic_cast<PopUp*>(entity);
    if (panel && panel->visible) covered.push_back(panel->panel());
  }
  return covered;
}
