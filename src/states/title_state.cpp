#include "states/title_state.h"

#include <cstdio>
#include <string>

#include "app/blend.h"
#include "app/music.h"
#include "app/resource.h"
#include "app/switch.h"
#include "entities/channel_states.h"
#include "states/progress.h"
#include "themes/theme.h"
#include "world/tag.h"

namespace {

constexpr int kRetry = 1;       // play state result: play the same level again
constexpr int kNextLevel = 2;   // play state result: go on to the next level
constexpr int kBackToMenu = 0;  // play state result: back to the menu
constexpr int kBackgroundLevel = -1;
constexpr int kFinalScreen = -2;
constexpr int kButtonsPerRow = 5;
constexpr double kLevelGridLeft = 55.0;     // px
constexpr double kLevelGridTop = 330.0;     // px
constexpr double kLevelColumnPitch = 40.0;  // px
constexpr double kLevelRowPitch = 50.0;     // px
constexpr double kLevelButtonSize = 30.0;   // px
constexpr double kLogoCentre = 395.0;       // px
constexpr float kLogoTop = 40.0f;           // px
constexpr int kPointsPerLevel = 3;          // completed, golden crown, silver crown
constexpr float kTitleMusicGain = 0.25f;
const char* const kTitleMusic = "media/dreamland.xm";

bool takeClick(GuiButton* button) {
  bool clicked = button->clicked;
  button->clicked = false;
  return clicked;
}

// A progress file from a larger level set keeps records that have no level file any more.
bool levelFileExists(const std::string& fileName) {
  FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

}  // namespace

TitleState::TitleState()
    : AppState<int>(al_get_current_display()),
      world(new World()),
      background(nullptr),
      logo(bitmapResource("media/logo.png")) {
  background = new PlayState(kBackgroundLevel, "levels/title.lv");
  createWidgets();
}

TitleState::~TitleState() {
  delete background;
  delete world;
  if (!finalButtonAdded) delete finalButton;
}

// Widgets enter the world at the first update's flush.
void TitleState::createWidgets() {
  world->add(new GuiText(150, 295, "Play a level:"));
  const int count = static_cast<int>(progress().records.size());
  for (int i = 0; i < count; ++i) {
    double left = kLevelGridLeft + kLevelColumnPitch * (i % kButtonsPerRow);
    double top = kLevelGridTop + kLevelRowPitch * (i / kButtonsPerRow);
    auto* button = new LevelButton(Box{left, top, left + kLevelButtonSize, top + kLevelButtonSize}, i);
    world->add(button);
    levelButtons.push_back(button);
  }
  world->add(new GuiText(650, 295, "Select a theme:"));
  world->add(themeButton = new GuiButton(Box{550, 330, 750, 360}, "Sky", true));
  world->add(new GuiText(650, 375, "Like the music?"));
  world->add(musicButton = new GuiButton(Box{550, 400, 750, 430}, "Yes", true));
  finalButton = new GuiButton(Box{215, 430, 245, 460}, "??", true);
  if (progress().completedCount() == progress().records.size()) addFinalButton();
  world->add(quitButton = new GuiButton(Box{300, 530, 500, 560}, "Quit", true));
  world->add(pointsText = new GuiText(400, 582, ""));
}

void TitleState::addFinalButton() {
  world->add(finalButton);
  finalButtonAdded = true;
}

void TitleState::update(double dt) {
  background->update(dt);
  std::vector<Entity*>& widgets = world->byTag(tagOf("dyna"));
  for (size_t i = 0; i < widgets.size(); ++i) widgets[i]->update(dt);
  world->flush();
  const Progress& record = progress();
  pointsText->text = format("Unlock points: %d/%d", static_cast<int>(record.unlockPoints()),
                            kPointsPerLevel * static_cast<int>(record.records.size()));
  if (clickedLevel()) return;
  if (takeClick(finalButton)) {
    showFinalScreen();
    return;
  }
  if (takeClick(themeButton)) nextTheme();
  if (takeClick(musicButton)) switchMusic();
  if (Controls()[kControlEscape]->isDown() || takeClick(quitButton)) {
    result = 0;
    status = 1;
  }
}

// Reads and clears the buttons' flags in order up to the first that was set, and plays from it.
bool TitleState::clickedLevel() {
  for (LevelButton* button : levelButtons) {
    if (takeClick(button)) {
      playFrom(button->levelIndex);
      return true;
    }
  }
  return false;
}

// R and Space after a death give "retry" and play the same level again; Space after a
// completion goes on to the next level whether or not it is unlocked.
void TitleState::playFrom(int levelIndex) {
  const int count = static_cast<int>(progress().records.size());
  int playResult = kRetry;
  do {
    if (playResult == kNextLevel) ++levelIndex;
    if (levelIndex >= count) break;
    std::string fileName = format("levels/%d.lv", levelIndex + 1);
    if (!levelFileExists(fileName)) break;
    playResult = runPlay(levelIndex, fileName.c_str());
  } while (playResult != kBackToMenu);
  if (!finalButtonAdded && progress().completedCount() == progress().records.size()) addFinalButton();
  setAllChannelsOn();
}

void TitleState::showFinalScreen() {
  runPlay(kFinalScreen, "levels/winner.lv");
  setAllChannelsOn();
}

// A locked theme is never made current; the button names the points still missing.
void TitleState::nextTheme() {
  themeIndex = (themeIndex + 1) % kThemeCount;
  Theme* theme = themes[themeIndex];
  int points = static_cast<int>(progress().unlockPoints());
  if (theme->requiredPoints() <= points) {
    currentTheme = theme;
    themeButton->label = theme->name();
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

int TitleState::runPlay(int levelIndex, const char* fileName) {
  return runNested(*this, new PlayState(levelIndex, fileName));
}

void TitleState::draw(ALLEGRO_DISPLAY* screen) {
  background->draw(screen);
  drawBitmap(logo, static_cast<int>(kLogoCentre - al_get_bitmap_width(logo) * 0.5), kLogoTop, 0);
  for (Entity* widget : world->byTag(tagOf("rndr"))) widget->draw();
}
