#include "states/title_state.h"

#include <string>
#include <utility>

#include "app/blend.h"
#include "app/game_window.h"
#include "app/music.h"
#include "app/resource.h"
#include "app/safe_file.h"
#include "app/switch.h"
#include "campaign/discovery.h"
#include "campaign/progress.h"
#include "replay/best_run.h"
#include "states/title_settings.h"
#include "themes/themes.h"
#include "world/tag.h"

namespace {

constexpr int kButtonsPerRow = 5;
constexpr double kLevelGridLeft = 55.0;     // px
constexpr double kLevelGridTop = 330.0;     // px
constexpr double kLevelColumnPitch = 40.0;  // px
constexpr double kLevelRowPitch = 50.0;     // px
constexpr double kLevelButtonSize = 30.0;   // px
constexpr double kLogoCentre = 395.0;       // px
constexpr float kLogoTop = 40.0f;           // px
constexpr float kTitleMusicGain = 0.25f;
const char* const kTitleMusic = "media/dreamland.xm";

bool takeClick(GuiButton* button) {
  bool clicked = button->clicked;
  button->clicked = false;
  return clicked;
}

// Level button i and, after the last level, the final button share one grid of 30 x 30 squares.
Box gridPlace(int place) {
  double left = kLevelGridLeft + kLevelColumnPitch * (place % kButtonsPerRow);
  double top = kLevelGridTop + kLevelRowPitch * (place / kButtonsPerRow);
  return Box{left, top, left + kLevelButtonSize, top + kLevelButtonSize};
}

const char* const kCloseHint = "Click anywhere to close this message.";
const char* const kBuiltInWinner = "levels/winner.lv";
const char* const kBrokenMark = " (!)";  // after a broken campaign's name on its button
constexpr size_t kProblemsShown = 6;     // of a broken campaign's, in the notice

}  // namespace

TitleState::TitleState() : TitleState(findCampaigns(gameCampaignPlaces())) {}

TitleState::TitleState(std::vector<Campaign> found)
    : AppState(al_get_current_display()),
      campaigns(std::move(found)),
      world(std::make_unique<World>()),
      logo(bitmapResource("media/logo.png")) {
  LoadResult scene;
  background = PlayState::open(PlayedLevel{}, "levels/title.lv", *theme_, scene);
  // Without its scene the menu still works, over an empty sky.
  if (!background) background = std::make_unique<PlayState>(PlayedLevel{}, std::make_unique<World>(), *theme_);
  createWidgets();
  if (!scene.ok()) showNotice(loadFailureLines(scene));
  showCampaign();
}

TitleState::~TitleState() = default;

// Widgets enter the world at the first update's flush.
void TitleState::createWidgets() {
  world->add(new GuiText(150, 295, "Play a level:"));
  world->add(new GuiText(650, 295, "Select a theme:"));
  world->add(themeButton = new GuiButton(Box{550, 330, 750, 360}, "Sky", true));
  world->add(new GuiText(650, 375, "Like the music?"));
  world->add(musicButton = new GuiButton(Box{550, 400, 750, 430}, "Yes", true));
  world->add(new GuiText(650, 450, "Campaign:"));
  world->add(campaignButton = new GuiButton(Box{550, 470, 750, 500}, "", true));
  world->add(quitButton = new GuiButton(Box{300, 530, 500, 560}, "Quit", true));
  world->add(optionsButton = new GuiButton(Box{550, 530, 750, 560}, "Options", true));
  world->add(pointsText = new GuiText(400, 582, ""));
  notice = std::make_unique<PopUp>();
}

// The grid, the final button and the points follow the chosen campaign; its record is read
// when the campaign is first chosen, and a damaged file says so then.
void TitleState::showCampaign() {
  for (LevelButton* button : levelButtons) world->remove(button);
  levelButtons.clear();
  if (finalButton) world->remove(finalButton);
  finalButton = nullptr;
  const Campaign& campaign = campaigns.campaign();
  Progress& record = campaigns.record();
  for (int i = 0; i < campaign.levelCount(); ++i) {
    auto* button = new LevelButton(gridPlace(i), i, record, campaign.levels[i].name);
    world->add(button);
    levelButtons.push_back(button);
  }
  if (record.tally().allCompleted) addFinalButton();
  campaignButton->label = campaign.broken() ? campaign.title() + kBrokenMark : campaign.title();
  if (!record.damageNote.empty()) showNotice(record.damageNote);
  record.damageNote.clear();
}

void TitleState::useCampaign(const std::string& folderName) {
  campaigns.choose(folderName);
  showCampaign();
  if (campaigns.chosen() != 0) showProblems();
}

void TitleState::nextCampaign() {
  campaigns.next();
  showCampaign();
  showProblems();
}

// A broken campaign is still offered: the levels that load can be played.
void TitleState::showProblems() {
  const Campaign& campaign = campaigns.campaign();
  if (!campaign.broken()) return;
  std::vector<std::string> lines{
      format("The campaign '%s' has problems; its levels that load can still be played:", campaign.title().c_str())};
  for (size_t i = 0; i < campaign.problems.size() && i < kProblemsShown; ++i) lines.push_back(campaign.problems[i]);
  if (campaign.problems.size() > kProblemsShown) {
    lines.push_back(format("... and %d more ('binhopper-level pack check' lists them all).",
                           static_cast<int>(campaign.problems.size() - kProblemsShown)));
  }
  showNotice(lines);
}

// Lines of one notice follow those already shown, so problems found together show together.
void TitleState::showNotice(const std::vector<std::string>& lines) {
  if (!notice->visible) notice->lines.clear();
  if (!notice->lines.empty()) notice->lines.pop_back();
  for (const std::string& line : lines) notice->addLine(line, "");
  notice->addLine("", "");
  notice->addLine(kCloseHint, " ");
  notice->visible = true;
}

void TitleState::addFinalButton() {
  finalButton = new GuiButton(gridPlace(static_cast<int>(levelButtons.size())), "??", true);
  world->add(finalButton);
}

void TitleState::update(double dt) {
  background->update(dt);
  world->update(dt);
  const LevelTally tally = campaigns.record().tally();
  pointsText->text =
      format("Unlock points: %d/%d", static_cast<int>(tally.points), static_cast<int>(tally.maximumPoints));
  if (Controls()[kControlClick]->isDown()) notice->visible = false;
  if (GuiButton* pressed = focus.update(focusOrder(), menuKeysHeld(), mouse.x, mouse.y)) pressed->clicked = true;
  // Every flag is read and cleared before acting, so no click is carried into a later update.
  int level = clickedLevel();
  bool finalClicked = finalButton && takeClick(finalButton);
  bool themeClicked = takeClick(themeButton);
  bool musicClicked = takeClick(musicButton);
  bool campaignClicked = takeClick(campaignButton);
  bool quitClicked = takeClick(quitButton);
  bool optionsClicked = takeClick(optionsButton) || Controls()[kControlStart]->isDown();
  int watched = watchedLevel();
  if (watched >= 0) {
    watchBestRun(watched);
    return;
  }
  if (level >= 0) {
    playFrom(level);
    return;
  }
  if (finalClicked) {
    showFinalScreen();
    return;
  }
  // The switches still hold the options screen's last frame: its Escape must not quit here.
  if (optionsClicked) {
    openOptions();
    return;
  }
  if (themeClicked) nextTheme();
  if (musicClicked) switchMusic();
  if (campaignClicked) nextCampaign();
  if (Controls()[kControlEscape]->isDown() || quitClicked) status = RunStatus::Done;
}

// Reads and clears every level button's flag; gives the index of the first that was set, or -1.
int TitleState::clickedLevel() {
  int clicked = -1;
  for (LevelButton* button : levelButtons) {
    if (takeClick(button) && clicked < 0) clicked = button->levelIndex;
  }
  return clicked;
}

// The level under the mouse when a right click or W asks to watch its best run, or -1.
int TitleState::watchedLevel() {
  if (!rightClicked_.isDown() && !watchPressed_.isDown()) return -1;
  for (LevelButton* button : levelButtons)
    if (button->highlight == 2) return button->levelIndex;
  return -1;
}

void TitleState::watchBestRun(int levelIndex) {
  const Campaign& campaign = campaigns.campaign();
  const std::string& fileName = campaign.levels[levelIndex].path;
  BestRun best = findBestRun(campaign.folderName, levelIndex, fileName, campaigns.record().levelCompleted(levelIndex));
  LoadResult played;
  PlayedLevel watched{PlayKind::Watch, campaign.folderName, levelIndex + 1, "", &campaigns.record()};
  if (best.replay) played = PlayState::watchNested(*this, std::move(watched), fileName, *theme_, *best.replay);
  if (!best.replay) showNotice({best.problem});
  if (!played.ok()) showNotice({played.message});
}

// R and Space after a death give "retry" and play the same level again; Space after a
// completion goes on to the next level whether or not it is unlocked.
void TitleState::playFrom(int levelIndex) {
  const Campaign& campaign = campaigns.campaign();
  Progress& record = campaigns.record();
  std::optional<PlayResult> played = PlayResult::Retry;
  do {
    if (played == PlayResult::Next) ++levelIndex;
    if (levelIndex >= campaign.levelCount()) break;
    const CampaignLevel& level = campaign.levels[levelIndex];
    played = runPlay(level.path.c_str(),
                     PlayedLevel{PlayKind::Numbered, campaign.folderName, level.number, level.name, &record});
  } while (played && *played != PlayResult::Menu);
  if (!finalButton && record.tally().allCompleted) addFinalButton();
}

// A campaign without its own final screen ends on the built-in one.
void TitleState::showFinalScreen() {
  const Campaign& campaign = campaigns.campaign();
  std::string winner = campaign.winner.empty() ? kBuiltInWinner : campaign.winner;
  runPlay(winner.c_str(), PlayedLevel{PlayKind::FinalScreen, campaign.folderName, 0, "", &campaigns.record()});
}

void TitleState::useTheme(Theme& theme) {
  theme_ = &theme;
  background->session().context().theme = &theme;
  themeButton->label = theme.name();
}

// A locked theme is never made current; the button names the points still missing.
void TitleState::nextTheme() {
  themeIndex = (themeIndex + 1) % kThemeCount;
  Theme* theme = themes[themeIndex];
  int points = static_cast<int>(progress().unlockPoints());
  if (theme->requiredPoints() <= points) {
    useTheme(*theme);
  } else {
    themeButton->label = format("Locked (%d more)", theme->requiredPoints() - points);
  }
}

void TitleState::switchMusic() {
  musicOn = !musicOn;
  if (musicOn) {
    setMusicGain(loadMusic(kTitleMusic, 0), kTitleMusicGain);
  } else {
    stopMusic();
  }
  musicButton->label = musicOn ? "Yes" : "No";
}

std::vector<GuiButton*> TitleState::focusOrder() const {
  std::vector<GuiButton*> order(levelButtons.begin(), levelButtons.end());
  for (GuiButton* button : {themeButton, musicButton, campaignButton, optionsButton, finalButton, quitButton}) {
    if (button) order.push_back(button);
  }
  return order;
}

// The choices are kept as soon as the screen closes, not only when the menu ends.
void TitleState::openOptions() {
  OptionsState options(settings, *background);
  showOptions(options);
  if (settingsPath.empty()) return;
  GameWindow* window = GameWindow::current();
  FileResult saved = saveSettings(
      settingsOf(*this, window && window->modeSwitched() ? window->fullScreen() : settings.fullScreen), settingsPath);
  if (!saved.ok) showNotice({failedSaveLine("settings", saved)});
}

void TitleState::showOptions(OptionsState& options) { runNested(*this, options); }

// A level that cannot be loaded is not entered: its message shows in the menu instead.
std::optional<PlayResult> TitleState::runPlay(const char* fileName, PlayedLevel played) {
  LoadResult problem;
  std::unique_ptr<PlayState> play = PlayState::open(std::move(played), fileName, *theme_, problem);
  if (!play) {
    showNotice(loadFailureLines(problem));
    return std::nullopt;
  }
  PlaySession& session = play->session();
  if (session.played().kind == PlayKind::Numbered)
    session.keepRuns(session.played().campaign, session.played().number, fileName, settings.ghost);
  play->showTimer(settings.timer);
  PlayResult result = playNested(*play);
  std::vector<std::string> failures = session.takeSaveFailures();
  if (!failures.empty()) showNotice(failures);
  return result;
}

PlayResult TitleState::playNested(PlayState& play) {
  runNested(*this, play);
  return play.result();
}

void TitleState::draw(ALLEGRO_DISPLAY* screen) {
  background->draw(screen);
  drawBitmap(logo, static_cast<int>(kLogoCentre - al_get_bitmap_width(logo) * 0.5), kLogoTop, 0);
  world->draw();
  focus.draw();
  notice->draw();
}
