#include "states/play_state.h"

#include <memory>

#include "app/blend.h"
#include "app/game_window.h"
#include "app/geometry.h"
#include "app/music.h"
#include "entities/avatar.h"
#include "entities/prototypes.h"
#include "gui/gui_text.h"
#include "gui/run_timer.h"
#include "states/ghost.h"
#include "states/help_state.h"
#include "states/pause_menu.h"
#include "states/replay_playback.h"
#include "themes/themes.h"

namespace {

constexpr double kZoomKeep = 0.95;   // of the zoom per update
constexpr double kZoomGrowth = 0.2;  // added per update
constexpr double kZoomNearlyFull = 3.99;
constexpr double kFullZoom = 4.0;
constexpr double kZoomTargetX = 10.0;     // px right of the avatar's x
constexpr double kZoomTargetY = -20.0;    // px below the avatar's y: just above its head
constexpr double kFinalTextX = 400.0;     // px
constexpr double kFinalTextTop = 40.0;    // px
constexpr double kFinalTextPitch = 40.0;  // px
const char* const kFinalMusic = "media/unreal_superhero.xm";

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

PlayState::PlayState(PlayedLevel played, const char* fileName, Theme& theme)
    : PlayState(std::move(played), loadedLevel(fileName), theme) {}

PlayState::PlayState(PlayedLevel played, std::unique_ptr<World> level, Theme& theme)
    : AppState(al_get_current_display()),
      session_(std::make_unique<PlaySession>(std::move(played), std::move(level), theme)) {
  const PlayedLevel& kind = session_->played();
  if (kind.kind == PlayKind::FinalScreen) addFinalScreenWords();
  if (kind.kind == PlayKind::Numbered && !kind.name.empty()) {
    Avatar* avatar = session_->avatar();
    banner_ = std::make_unique<LevelBanner>(kind.name, avatar ? avatar->y() : -1.0);
  }
}

std::unique_ptr<PlayState> PlayState::open(PlayedLevel played, const char* fileName, Theme& theme,
                                           LoadResult& problem) {
  auto level = std::make_unique<World>();
  problem = readLevel(fileName, *level);
  if (!problem.ok()) return nullptr;
  return std::make_unique<PlayState>(std::move(played), std::move(level), theme);
}

PlayState::~PlayState() = default;

// The words stand in front of the clouds and fireworks that pass in front of the scene.
void PlayState::addFinalScreenWords() {
  stopMusic();
  loadMusic(kFinalMusic, 0);
  World& world = session_->world();
  double top = kFinalTextTop;
  for (const std::string& line : finalScreenLines(*session_->played().record)) {
    world.add<GuiText>(kFinalTextX, top, line, DrawLayer::Widgets);
    top += kFinalTextPitch;
  }
  world.flush();
}

bool PlayState::onCloseRequest() {
  finish(PlayResult::Menu);
  return true;
}

bool PlayState::showsMouseCursor() const {
  PlayKind kind = session_->played().kind;
  return session_->report() || pause_.paused() || kind == PlayKind::Scene || kind == PlayKind::FinalScreen;
}

// The keys of play are read before the level's end is reviewed, so a run left in the frame the
// level ended is kept as left; the report's keys are read after it.
void PlayState::update(double dt) {
  bool pauseAsked = pause_.asked();
  if (pause_.paused()) return updatePause(dt);
  if (pauseAsked && session_->pausable()) {
    PlayKind kind = session_->played().kind;
    PausedPlay paused = kind == PlayKind::Watch      ? PausedPlay::Replay
                        : kind == PlayKind::TestPlay ? PausedPlay::TestPlay
                                                     : PausedPlay::Level;
    return pause_.open(pauseEntries(paused, static_cast<bool>(openOptions), session_->wayThroughOffered()));
  }
  if (session_->watching()) return updateReplay();
  session_->step(dt);
  updateBanner(dt);
  if (!session_->report()) readPlayKeys();
  session_->review();
  if (session_->outcome().status == Outcome::Completed) zoom_ = nextZoom(zoom_);
  const Report* report = session_->report();
  if (!report) return;
  // The panel names the keys or the pad's buttons, whichever were used last.
  bool shownBefore = reportPanel_ != nullptr;
  if (!shownBefore || panelDevice_ != lastInputDevice()) showReport(*report);
  if (shownBefore) readReportKeys(*report);
}

// Retry and the way out end the play; options and help show over the level held still and
// come back to the pause menu.
void PlayState::updatePause(double dt) {
  std::optional<PauseChoice> chosen = pause_.update(dt);
  if (chosen == PauseChoice::Retry) finish(PlayResult::Retry);
  if (chosen == PauseChoice::Leave) finish(PlayResult::Menu);
  if (chosen == PauseChoice::Help) {
    HelpState help(*this, SceneMotion::Frozen);
    showOverPause(help);
  }
  if (chosen == PauseChoice::WayThrough && session_->wayThrough()) {
    pause_.setCovered(true);
    watchRun(*session_->wayThrough());
    pause_.setCovered(false);
  }
  if (chosen == PauseChoice::Options && openOptions) {
    pause_.setCovered(true);
    openOptions(*this);
    pause_.setCovered(false);
  }
}

void PlayState::showOverPause(AppState& screen) {
  pause_.setCovered(true);
  runNested(*this, screen);
  pause_.setCovered(false);
}

void PlayState::updateBanner(double dt) {
  if (!banner_) return;
  banner_->update(dt);
  if (banner_->over()) banner_.reset();
}

void PlayState::readPlayKeys() {
  if (held(ReportKey::Escape)) finish(PlayResult::Menu);
  if (held(ReportKey::R)) finish(PlayResult::Retry);
}

// Of several keys held at once, the later in this order wins: Space over R over Escape, and any
// of them over K and W. The pad's buttons answer as their keys do, once the panel shows: an A or B
// pressed to jump or throw as the level ended is no answer.
void PlayState::readReportKeys(const Report& report) {
  std::optional<ReportAction> chosen;
  for (ReportKey key : {ReportKey::W, ReportKey::K, ReportKey::H, ReportKey::Escape, ReportKey::R, ReportKey::Space}) {
    std::optional<ReportAction> action = report.actionFor(key);
    if (action && (held(key) || heldOnPad(key))) chosen = action;
  }
  if (chosen) choose(*chosen);
}

bool PlayState::heldOnPad(ReportKey key) {
  std::optional<PadButton> button = padButtonFor(key);
  if (!button) return false;
  // By PadButton.
  const ControlIndex controls[] = {kControlPadA, kControlPadB, kControlPadX, kControlPadY, kControlStart};
  return Controls()[controls[static_cast<int>(*button)]]->isDown();
}

bool PlayState::held(ReportKey key) {
  Switch** controls = Controls();
  switch (key) {
    case ReportKey::Space:
      return controls[kControlSpace]->isDown();
    case ReportKey::R:
      return controls[kControlRetry]->isDown();
    case ReportKey::Escape:
      return controls[kControlEscape]->isDown();
    case ReportKey::W:
      return watchPressed_.isDown();
    case ReportKey::K:
      return keepPressed_.isDown();
    case ReportKey::H:
      return hintPressed_.isDown();
  }
  return false;
}

void PlayState::choose(ReportAction action) {
  switch (action) {
    case ReportAction::Next:
      return finish(PlayResult::Next);
    case ReportAction::Retry:
      return finish(PlayResult::Retry);
    case ReportAction::Leave:
      return finish(PlayResult::Menu);
    case ReportAction::WatchRun:
      return watchLastRun();
    case ReportAction::KeepProof:
      session_->keepProof();
      return showReport(*session_->report());
    case ReportAction::WatchWayThrough:
      if (const Replay* run = session_->wayThrough()) watchRun(*run);
      return;
  }
}

void PlayState::finish(PlayResult playResult) {
  session_->leave();
  result_ = playResult;
  status = RunStatus::Done;
}

void PlayState::showReport(const Report& report) {
  panelDevice_ = lastInputDevice();
  reportPanel_ = std::make_unique<PopUp>();
  for (const ReportLine& line : report.panelLines(panelDevice_))
    reportPanel_->addLine(line.left, line.highlighted ? " " : line.right);
  reportPanel_->visible = true;
}

// "Watch again" at the run's end plays it once more from the start.
LoadResult PlayState::watchNested(AppState& outer, const PlayedLevel& watched, const std::string& fileName,
                                  Theme& theme, const Replay& replay) {
  LoadResult problem;
  PlayResult result = PlayResult::Retry;
  while (result == PlayResult::Retry && outer.status == RunStatus::Running) {
    std::unique_ptr<PlayState> play = open(watched, fileName.c_str(), theme, problem);
    if (!play) return problem;
    play->session().watch(replay);
    runNested(outer, *play);
    result = play->result();
  }
  return problem;
}

// Escape (or the pad's B) leaves a watched run, P pauses it; its end shows a panel of its own.
void PlayState::updateReplay() {
  bool shownBefore = reportPanel_ != nullptr;
  if (!shownBefore) session_->stepReplay();
  const Report* report = session_->report();
  if (report && (!shownBefore || panelDevice_ != lastInputDevice())) showReport(*report);
  if (report && shownBefore) {
    readReportKeys(*report);
  } else if (held(ReportKey::Escape) || heldOnPad(ReportKey::Escape)) {
    finish(PlayResult::Menu);
  }
}

void PlayState::watchLastRun() {
  if (const Replay* run = session_->lastRun()) watchRun(*run);
}

// The report or the pause menu stays as it was when the watched run is left.
void PlayState::watchRun(const Replay& run) {
  const PlayedLevel& played = session_->played();
  PlayedLevel watched{PlayKind::Watch, played.campaign, played.number, "", played.record};
  watchNested(*this, watched, session_->levelFile(), *session_->context().theme, run);
}

void PlayState::useAssists(const Assists& assists) {
  if (session_->played().kind != PlayKind::Numbered) return;
  session_->useAssists(assists);
  clock->setSpeed(assists.gameSpeed / 100.0);
}

void PlayState::draw(ALLEGRO_DISPLAY*) {
  Theme& theme = *session_->context().theme;
  drawSky(theme);
  theme.beforeEntities();
  session_->world().draw();
  if (Ghost* ghost = session_->ghost()) ghost->draw();
  theme.afterEntities();
  if (zoom_ > 1.0) drawClosingZoom();
  if (banner_) banner_->draw();
  drawRunTime();
  if (reportPanel_) reportPanel_->draw();
  pause_.draw();
}

void PlayState::drawClosingZoom() {
  flushDrawing();
  std::unique_ptr<ALLEGRO_BITMAP, BitmapDestroyer> copy(al_clone_bitmap(al_get_backbuffer(al_get_current_display())));
  if (!copy) return;
  auto [avatarX, avatarY] = session_->avatar()->position();
  Box source = closingZoomSource(zoom_, avatarX, avatarY);
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

void PlayState::drawRunTime() {
  if (ReplayPlayback* playback = session_->playback()) {
    drawReplayMark(replayMarkText(session_->context().elapsedTime, playback->speed(), lastInputDevice()));
  } else if (std::optional<RunTimerLine> line = timerLine()) {
    drawRunTimer(*line);
  }
}

// The target is the played campaign's: a pack's level has its own.
std::optional<RunTimerLine> PlayState::timerLine() {
  if (!timerShown_ || session_->played().kind != PlayKind::Numbered) return std::nullopt;
  return runTimerLine(session_->context().elapsedTime, session_->targetTime(), coveredByText());
}

std::vector<Box> PlayState::coveredByText() {
  std::vector<Box> covered;
  if (reportPanel_) covered.push_back(reportPanel_->panel());
  if (banner_ && !banner_->over()) covered.push_back(banner_->band());
  for (Entity* entity : session_->world().byTag(tagOf("rndr"))) {
    auto* panel = dynamic_cast<PopUp*>(entity);
    if (panel && panel->visible) covered.push_back(panel->panel());
  }
  return covered;
}
