#include "states/title_state.h"

#include <string>

#include "app/blend.h"
#include "app/music.h"
#include "app/resource.h"
#include "app/switch.h"
#include "states/progress.h"
#include "themes/themes.h"
#include "world/tag.h"

namespace {

constexpr int kBackgroundLevel = -1;
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

}  // namespace

TitleState::TitleState()
    : AppState(al_get_current_display()), world(std::make_unique<World>()), logo(bitmapResource("media/logo.png")) {
  LoadResult scene;
  background = PlayState::open(kBackgroundLevel, "levels/title.lv", *theme_, scene);
  // Without its scene the menu still works, over an empty sky.
  if (!background) background = std::make_unique<PlayState>(kBackgroundLevel, std::make_unique<World>(), *theme_);
  createWidgets();
  if (!scene.ok()) showNotice(loadFailureLines(scene));
  if (!progress().damageNote.empty()) showNotice(progress().damageNote);
  progress().damageNote.clear();
}

TitleState::~TitleState() = default;

// Widgets enter the world at the first update's flush.
void TitleState::createWidgets() {
  world->add(new GuiText(150, 295, "Play a level:"));
  const int count = static_cast<int>(progress().records.size());
  for (int i = 0; i < count; ++i) {
    auto* button = new LevelButton(gridPlace(i), i);
    world->add(button);
    levelButtons.push_back(button);
  }
  world->add(new GuiText(650, 295, "Select a theme:"));
  world->add(themeButton = new GuiButton(Box{550, 330, 750, 360}, "Sky", true));
  world->add(new GuiText(650, 375, "Like the music?"));
  world->add(musicButton = new GuiButton(Box{550, 400, 750, 430}, "Yes", true));
  if (progress().completedCount() == progress().records.size()) addFinalButton();
  world->add(quitButton = new GuiButton(Box{300, 530, 500, 560}, "Quit", true));
  world->add(pointsText = new GuiText(400, 582, ""));
  world->add(notice = new PopUp());
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
  const Progress& record = progress();
  pointsText->text =
      format("Unlock points: %d/%d", static_cast<int>(record.unlockPoints()), static_cast<int>(record.maximumPoints()));
  if (Controls()[kControlClick]->isDown()) notice->visible = false;
  // Every flag is read and cleared before acting, so no click is carried into a later update.
  int level = clickedLevel();
  bool finalClicked = finalButton && takeClick(finalButton);
  bool themeClicked = takeClick(themeButton);
  bool musicClicked = takeClick(musicButton);
  bool quitClicked = takeClick(quitButton);
  if (level >= 0) {
    playFrom(level);
    return;
  }
  if (finalClicked) {
    showFinalScreen();
    return;
  }
  if (themeClicked) nextTheme();
  if (musicClicked) switchMusic();
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

// R and Space after a death give "retry" and play the same level again; Space after a
// completion goes on to the next level whether or not it is unlocked.
void TitleState::playFrom(int levelIndex) {
  const int count = static_cast<int>(progress().records.size());
  std::optional<PlayResult> played = PlayResult::Retry;
  do {
    if (played == PlayResult::Next) ++levelIndex;
    if (levelIndex >= count) break;
    std::string fileName = format("levels/%d.lv", levelIndex + 1);
    played = runPlay(levelIndex, fileName.c_str());
  } while (played && *played != PlayResult::Menu);
  if (!finalButton && progress().completedCount() == progress().records.size()) addFinalButton();
}

void TitleState::showFinalScreen() { runPlay(kFinalScreenIndex, "levels/winner.lv"); }

void TitleState::useTheme(Theme& theme) {
  theme_ = &theme;
  background->context->theme = &theme;
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

// A level that cannot be loaded is not entered: its message shows in the menu instead.
std::optional<PlayResult> TitleState::runPlay(int levelIndex, const char* fileName) {
  LoadResult problem;
  std::unique_ptr<PlayState> play = PlayState::open(levelIndex, fileName, *theme_, problem);
  if (!play) {
    showNotice(loadFailureLines(problem));
    return std::nullopt;
  }
  return playNested(*play);
}

PlayResult TitleState::playNested(PlayState& play) {
  runNested(*this, play);
  return play.result;
}

void TitleState::draw(ALLEGRO_DISPLAY* screen) {
  background->draw(screen);
  drawBitmap(logo, static_cast<int>(kLogoCentre - al_get_bitmap_width(logo) * 0.5), kLogoTop, 0);
  world->draw();
}
