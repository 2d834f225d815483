#include "states/title_state.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>

#include "app/blend.h"
#include "app/file_dialog.h"
#include "app/game_window.h"
#include "app/music.h"
#include "app/resource.h"
#include "app/safe_file.h"
#include "campaign/discovery.h"
#include "entities/text_wrap.h"
#include "gui/level_button.h"
#include "themes/themes.h"

namespace {

constexpr double kLogoCentre = 395.0;  // px
constexpr float kInfoCentre = 400.0f;  // px
constexpr float kLogoTop = 40.0f;      // px
constexpr float kTitleMusicGain = 0.25f;
const char* const kTitleMusic = "media/dreamland.xm";
const char* const kTitleScene = "levels/title.lv";
const char* const kCloseHint = "Click anywhere to close this message.";
constexpr double kEscapeGrace = 1.0;  // s of menu time after a level before Escape quits

// Of buttons pressed in one frame, the earliest here is carried out.
const MenuAction kPressOrder[] = {
    MenuAction::PlayLevel, MenuAction::FinalScreen, MenuAction::Options, MenuAction::Editor,   MenuAction::AddCampaign,
    MenuAction::Help,      MenuAction::Theme,       MenuAction::Music,   MenuAction::Campaign, MenuAction::Quit};

// A press that opens another screen, a play or a dialog is carried out alone.
bool opensAScreen(MenuAction action) {
  return action == MenuAction::PlayLevel || action == MenuAction::FinalScreen || action == MenuAction::Options ||
         action == MenuAction::Help || action == MenuAction::Editor || action == MenuAction::AddCampaign;
}

// The campaign button's information stands where a level's does, on a backing of its own.
constexpr float kSummaryTop = 312.0f;    // px
constexpr float kSummaryPitch = 18.0f;   // px between lines
constexpr double kSummaryWidth = 280.0;  // px a line may take
constexpr float kSummaryPadding = 6.0f;  // px of backing around the lines
const ALLEGRO_COLOR kSummaryBacking = {0.0f, 0.0f, 0.0f, 0.6f};
// What the dialog of "Add a campaign…" lists: archives, and a pack folder's pack.txt.
const char* const kCampaignPatterns = "*.zip;*.tar.gz;*.tgz;*.tar;pack.txt";

// A pack folder is chosen by its pack.txt, as the dialog lists files only.
std::string packSourceOf(const std::string& chosen) {
  std::filesystem::path path(chosen);
  return path.filename() == "pack.txt" ? path.parent_path().string() : chosen;
}

bool takeClick(GuiButton* button) {
  bool clicked = button->clicked;
  button->clicked = false;
  return clicked;
}

}  // namespace

void playTitleMusic() { setMusicGain(loadMusic(kTitleMusic, 0), kTitleMusicGain); }

TitleState::TitleState() : TitleState(findCampaigns(gameCampaignPlaces())) {}

TitleState::TitleState(std::vector<Campaign> found)
    : AppState(al_get_current_display()),
      menu_(std::move(found)),
      world_(std::make_unique<World>()),
      logo_(bitmapResource("media/logo.png")),
      font_(fontResource()) {
  LoadResult scene;
  background_ = PlayState::open(PlayedLevel{}, kTitleScene, menu_.theme(), scene);
  // Without its scene the menu still works, over an empty sky.
  if (!background_) background_ = std::make_unique<PlayState>(PlayedLevel{}, std::make_unique<World>(), menu_.theme());
  if (!scene.ok()) menu_.tell(loadFailureLines(scene));
  // The built-in campaign first, and what its record has to say after the scene's problem.
  menu_.useCampaign(menu_.campaigns().campaign().folderName);
}

TitleState::~TitleState() = default;

// The widgets follow the model: a new set of buttons (another campaign, the final button) is
// made afresh and enters the world at this update's flush; labels follow every frame.
void TitleState::showWidgets() {
  std::vector<MenuButton> wanted = menu_.buttons();
  bool same = wanted.size() == buttons_.size() && menu_.campaigns().chosen() == shownCampaign_;
  for (size_t i = 0; same && i < wanted.size(); ++i) same = wanted[i].sameButton(buttons_[i].first);
  if (!same) rebuildButtons(wanted);
  for (size_t i = 0; i < wanted.size(); ++i) {
    buttons_[i].first = wanted[i];
    buttons_[i].second->label = wanted[i].label;
  }
  std::vector<MenuText> texts = menu_.texts();
  if (texts_.empty()) {
    for (const MenuText& text : texts) texts_.push_back(&world_->add<GuiText>(text.x, text.y, text.text));
  }
  for (size_t i = 0; i < texts.size() && i < texts_.size(); ++i) texts_[i]->text = texts[i].text;
}

void TitleState::rebuildButtons(const std::vector<MenuButton>& wanted) {
  std::optional<MenuButton> wasFocused = focused();
  for (const auto& [button, widget] : buttons_) world_->remove(widget);
  buttons_.clear();
  shownCampaign_ = menu_.campaigns().chosen();
  const Campaign& campaign = menu_.campaigns().campaign();
  for (const MenuButton& button : wanted) {
    GuiButton& widget = button.action == MenuAction::PlayLevel
                            ? world_->add<LevelButton>(button.place, button.level, menu_.campaigns().record(),
                                                       levelName(campaign, button.level))
                            : world_->add<GuiButton>(button.place, button.label, button.enabled);
    buttons_.emplace_back(button, &widget);
    if (wasFocused && wasFocused->sameButton(button)) focus_.moveTo(&widget);
  }
}

// The notice is drawn over every widget, its lines above the hint that closes it.
void TitleState::showNotice() {
  notice_.visible = menu_.noticeShown();
  if (noticeRevision_ == menu_.noticeRevision()) return;
  noticeRevision_ = menu_.noticeRevision();
  notice_.lines.clear();
  for (const std::string& line : menu_.notice()) notice_.addLine(line, "");
  notice_.addLine("", "");
  notice_.addLine(kCloseHint, " ");
}

void TitleState::update(double dt) {
  background_->update(dt);
  showWidgets();
  world_->update(dt);
  respond();
  background_->session().context().theme = &menu_.theme();
  showNotice();
  escapeGrace_ -= dt;
}

void TitleState::respond() {
  if (menu_.replacementAsked()) {
    pressed();  // a click while the question shows answers it and presses no button
    return answerReplacement();
  }
  if (Controls()[kControlClick]->isDown()) menu_.closeNotice();
  std::vector<GuiButton*> order;
  for (const auto& [button, widget] : buttons_) order.push_back(widget);
  if (GuiButton* chosen = focus_.update(order, menuKeysHeld(), mouse.x, mouse.y)) chosen->clicked = true;
  std::optional<MenuButton> button = pressed();
  int watched = watchedLevel();
  if (watched >= 0) return watchBestRun(watched);
  if (button && opensAScreen(button->action)) return carryOut(*button);
  // The switches still hold the options screen's last frame: its Escape must not quit here.
  if (Controls()[kControlStart]->isDown()) return openOptions(*background_, SceneMotion::Moving);
  if (button) carryOut(*button);
  if (Controls()[kControlEscape]->isDown() && escapeGrace_ <= 0.0) status = RunStatus::Done;
}

// Every flag is read and cleared, so no click is carried into a later update; of several, the
// earliest in the order of presses counts.
std::optional<MenuButton> TitleState::pressed() {
  std::optional<MenuButton> chosen;
  auto rank = [](MenuAction action) { return std::find(std::begin(kPressOrder), std::end(kPressOrder), action); };
  for (const auto& [button, widget] : buttons_) {
    if (takeClick(widget) && (!chosen || rank(button.action) < rank(chosen->action))) chosen = button;
  }
  return chosen;
}

void TitleState::carryOut(const MenuButton& button) {
  switch (button.action) {
    case MenuAction::PlayLevel:
      return playFrom(button.level);
    case MenuAction::FinalScreen:
      runPlay(menu_.finalScreenFile(), menu_.finalScreen());
      return;
    case MenuAction::Options:
      return openOptions(*background_, SceneMotion::Moving);
    case MenuAction::Help: {
      HelpState help(*background_);
      return showHelp(help);
    }
    case MenuAction::Theme:
      return menu_.nextTheme();
    case MenuAction::Music:
      return switchMusic();
    case MenuAction::Campaign:
      return menu_.nextCampaign();
    case MenuAction::Editor:
      return openEditor();
    case MenuAction::AddCampaign:
      if (std::optional<std::string> chosen = chooseCampaign()) addCampaign(packSourceOf(*chosen), false);
      return;
    case MenuAction::Quit:
      status = RunStatus::Done;
      return;
  }
}

// The author may have made or changed a pack meanwhile.
void TitleState::openEditor() {
  if (!runEditor) return;
  runEditor(*this);
  escapeGrace_ = kEscapeGrace;
  findCampaignsAgain();
}

// The campaigns are found again with the menu's choices kept, and their records read afresh:
// the level buttons that show the old records leave the world at once, before another update
// can read them.
void TitleState::findCampaignsAgain() {
  menu_.refreshCampaigns(findCampaigns(gameCampaignPlaces()));
  rebuildButtons(menu_.buttons());
  world_->flush();
}

std::optional<std::string> TitleState::chooseCampaign() {
  std::error_code error;
  const char* home = std::getenv("HOME");
  std::string start = home ? std::string(home) + "/" : std::filesystem::current_path(error).string() + "/";
  std::optional<std::string> chosen =
      askForFile(FileQuestion{FileQuestion::Kind::Open, "Add a campaign", start, kCampaignPatterns});
  resumeAfterNested();
  return chosen;
}

void TitleState::addCampaign(const std::string& source, bool replace) {
  if (!installCampaign) return;
  CampaignInstall outcome = installCampaign(source, replace);
  if (outcome.installed) findCampaignsAgain();
  menu_.tellInstall(outcome, source);
}

// Y replaces the installed pack; N, Escape or a click keep it.
void TitleState::answerReplacement() {
  std::string source = *menu_.replacementAsked();
  bool keep = noPressed_.isDown() || Controls()[kControlEscape]->isDown() || Controls()[kControlClick]->isDown();
  if (!yesPressed_.isDown() && !keep) return;
  menu_.answerReplacement();
  escapeGrace_ = kEscapeGrace;
  if (!keep) addCampaign(source, true);
}

// The level under the mouse when a right click or W asks to watch its best run, or -1.
int TitleState::watchedLevel() const {
  if (!rightClicked_.isDown() && !watchPressed_.isDown()) return -1;
  for (const auto& [button, widget] : buttons_) {
    if (button.action == MenuAction::PlayLevel && widget->highlight == Highlight::Hovered) return button.level;
  }
  return -1;
}

void TitleState::watchBestRun(int levelIndex) {
  BestRun best = menu_.bestRun(levelIndex);
  if (!best.replay) return menu_.tell({best.problem});
  LoadResult played = PlayState::watchNested(*this, menu_.watched(levelIndex), menu_.levelFile(levelIndex),
                                             menu_.theme(), *best.replay);
  escapeGrace_ = kEscapeGrace;
  if (!played.ok()) menu_.tell({played.message});
}

void TitleState::playFrom(int levelIndex) {
  std::optional<int> level = levelIndex;
  while (level) {
    std::optional<PlayedLevel> played = menu_.level(*level);
    std::optional<PlayResult> result = played ? runPlay(menu_.levelFile(*level), *played) : std::nullopt;
    bool finalScreen = result && menu_.finalScreenAfter(*level, *result);
    level = result ? menu_.after(*level, *result) : std::nullopt;
    if (finalScreen) runPlay(menu_.finalScreenFile(), menu_.finalScreen());
  }
}

void TitleState::switchMusic() {
  menu_.switchMusic();
  if (menu_.musicOn()) {
    playTitleMusic();
  } else {
    stopMusic();
  }
}

std::optional<MenuButton> TitleState::focused() const {
  for (const auto& [button, widget] : buttons_) {
    if (widget == focus_.focused()) return button;
  }
  return std::nullopt;
}

// The choices are kept as soon as the screen closes, not only when the menu ends. Over a paused
// level the screen runs nested in that level, and the timer follows the choice at once.
void TitleState::openOptions(PlayState& scene, SceneMotion motion) {
  OptionsState options(menu_.settings(), scene, motion);
  showOptions(motion == SceneMotion::Frozen ? static_cast<AppState&>(scene) : *this, options);
  scene.showTimer(menu_.settings().timer);
  scene.useAssists(menu_.settings().assists);
  if (settingsPath_.empty()) return;
  GameWindow* window = GameWindow::current();
  bool fullScreen = window && window->modeSwitched() ? window->fullScreen() : menu_.settings().fullScreen;
  FileResult saved = saveSettings(menu_.settingsFor(fullScreen), settingsPath_);
  if (!saved.ok) menu_.tell({failedSaveLine("settings", saved)});
}

void TitleState::showOptions(AppState& outer, OptionsState& options) { runNested(outer, options); }

void TitleState::showHelp(HelpState& help) { runNested(*this, help); }

// A level that cannot be loaded is not entered: its message shows in the menu instead.
std::optional<PlayResult> TitleState::runPlay(const std::string& fileName, PlayedLevel played) {
  LoadResult problem;
  std::unique_ptr<PlayState> play = PlayState::open(std::move(played), fileName.c_str(), menu_.theme(), problem);
  if (!play) {
    menu_.tell(loadFailureLines(problem));
    return std::nullopt;
  }
  PlaySession& session = play->session();
  int levelIndex = session.played().index();
  bool numbered = session.played().kind == PlayKind::Numbered;
  if (numbered) {
    session.keepRuns(session.played().campaign, session.played().number, fileName, menu_.settings().ghost);
    BestRun wayThrough = menu_.wayThrough(levelIndex);
    if (wayThrough.replay) session.offerWayThrough(*wayThrough.replay, menu_.deathsIn(levelIndex));
  }
  play->showTimer(menu_.settings().timer);
  play->useAssists(menu_.settings().assists);
  play->openOptions = [this](PlayState& paused) { openOptions(paused, SceneMotion::Frozen); };
  PlayResult result = playNested(*play);
  escapeGrace_ = kEscapeGrace;
  if (numbered && session.outcome().status == Outcome::Dead) menu_.countDeath(levelIndex);
  std::vector<std::string> failures = session.takeSaveFailures();
  if (!failures.empty()) menu_.tell(failures);
  return result;
}

PlayResult TitleState::playNested(PlayState& play) {
  runNested(*this, play);
  return play.result();
}

void TitleState::draw(ALLEGRO_DISPLAY* screen) {
  background_->draw(screen);
  drawBitmap(logo_, static_cast<int>(kLogoCentre - al_get_bitmap_width(logo_) * 0.5), kLogoTop, 0);
  world_->draw();
  drawCampaignSummary();
  focus_.draw();
  notice_.draw();
}

// While the campaign button is under the mouse or the focus, and no notice covers the menu.
bool TitleState::showsCampaignInformation() const {
  auto campaign = std::find_if(buttons_.begin(), buttons_.end(),
                               [](const auto& shown) { return shown.first.action == MenuAction::Campaign; });
  return campaign != buttons_.end() && campaign->second->highlight == Highlight::Hovered && !menu_.noticeShown();
}

void TitleState::drawCampaignSummary() {
  if (!showsCampaignInformation()) return;
  std::vector<std::string> lines;
  auto widthOf = [this](const std::string& text) {
    return static_cast<double>(al_get_text_width(font_, text.c_str()));
  };
  for (const std::string& line : menu_.campaignSummaryLines()) {
    for (const std::string& piece : wrapText(line, kSummaryWidth, widthOf)) lines.push_back(piece);
  }
  float bottom = kSummaryTop + kSummaryPitch * lines.size();
  float half = static_cast<float>(kSummaryWidth / 2) + kSummaryPadding;
  drawFilledRectangle(kInfoCentre - half, kSummaryTop - kSummaryPadding, kInfoCentre + half, bottom + kSummaryPadding,
                      kSummaryBacking);
  for (size_t i = 0; i < lines.size(); ++i)
    drawText(font_, kInfoCentre, kSummaryTop + kSummaryPitch * i, ALLEGRO_ALIGN_CENTRE, lines[i]);
  resetBlender();
}
