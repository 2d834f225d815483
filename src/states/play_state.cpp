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

void PlayState::addFinalScreenWords() {
  stopMusic();
  loadMusic(kFinalMusic, 0);
  World& world = session_->world();
  double top = kFinalTextTop;
  for (const std::string& line : finalScreenLines(*session_->played().record)) {
    world.add<GuiText>(kFinalTextX, top, line);
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
  if (pause_.holds(session_->pausable())) return;
  if (session_->watching()) return updateReplay();
  session_->step(dt);
  updateBanner(dt);
  if (!session_->report()) readPlayKeys();
  session_->review();
  if (session_->outcome().status == Outcome::Completed) zoom_ = nextZoom(zoom_);
  const Report* report = session_->report();
  if (!report) return;
  if (!reportPanel_) showReport(*report);
  readReportKeys(*report);
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
// of them over W.
void PlayState::readReportKeys(const Report& report) {
  std::optional<ReportAction> chosen;
  for (ReportKey key : {ReportKey::W, ReportKey::Escape, ReportKey::R, ReportKey::Space}) {
    std::optional<ReportAction> action = report.actionFor(key);
    if (action && held(key)) chosen = action;
  }
  if (chosen) choose(*chosen);
}

bool PlayState::held(ReportKey key) {
  Switch** controls = Controls();
  switch (key) {
    case ReportKey::Space:
      return controls[kControlSpace]->isDown();
    case ReportKey::R:
      return controls[kControlRetry]->isDown();
    case ReportKey::Escape:
      return controls[kControlEscape]->isDown() || controls[kControlStart]->isDown();
    case ReportKey::W:
      return watchPressed_.isDown();
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
  }
}

void PlayState::finish(PlayResult playResult) {
  session_->leave();
  result_ = playResult;
  status = RunStatus::Done;
}

void PlayState::showReport(const Report& report) {
  reportPanel_ = std::make_unique<PopUp>();
  for (const ReportLine& line : report.panelLines())
    reportPanel_->addLine(line.left, line.highlighted ? " " : line.right);
  reportPanel_->visible = true;
}

LoadResult PlayState::watchNested(AppState& outer, PlayedLevel watched, const std::string& fileName, Theme& theme,
                                  const Replay& replay) {
  LoadResult problem;
  std::unique_ptr<PlayState> play = open(std::move(watched), fileName.c_str(), theme, problem);
  if (!play) return problem;
  play->session().watch(replay);
  runNested(outer, *play);
  return problem;
}

// Escape leaves a watched run, P pauses it.
void PlayState::updateReplay() {
  session_->stepReplay();
  if (Controls()[kControlEscape]->isDown()) finish(PlayResult::Menu);
}

// The report stays as it was when the watched run is left.
void PlayState::watchLastRun() {
  const Replay* run = session_->lastRun();
  if (!run) return;
  const PlayedLevel& played = session_->played();
  PlayedLevel watched{PlayKind::Watch, played.campaign, played.number, "", played.record};
  watchNested(*this, std::move(watched), session_->levelFile(), *session_->context().theme, *run);
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
    drawReplayMark(session_->context().elapsedTime, playback->speed());
  } else if (timerShown_ && session_->played().kind == PlayKind::Numbered) {
    drawRunTimer(session_->context().elapsedTime, session_->targetTime());
  }
}
