#pragma once

#include <allegro5/allegro.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "entities/pop_up.h"
#include "states/gui_button.h"
#include "states/gui_text.h"
#include "states/level_button.h"
#include "states/play_state.h"
#include "themes/themes.h"
#include "world/world.h"

// The menu over a live level: pick a level (levels then run one after another in nested play
// states while their results ask for it), cycle the themes, switch the music, open the final
// screen once every level is completed, or quit with Escape or "Quit".
class TitleState : public AppState {
 public:
  TitleState();
  ~TitleState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  // The theme the player chose: the menu's scene and every level played from it are drawn in
  // it (the final screen in its own).
  Theme& theme() const { return *theme_; }
  void useTheme(Theme& theme);
  // Plays the best run of level `levelIndex` (from 0) for the player to watch, or shows in the
  // notice why there is none.
  void watchBestRun(int levelIndex);

  std::unique_ptr<World> world;
  std::unique_ptr<PlayState> background;
  ALLEGRO_BITMAP* logo;
  std::vector<LevelButton*> levelButtons;
  GuiButton* themeButton;
  GuiButton* quitButton;
  GuiButton* musicButton;
  GuiButton* finalButton = nullptr;  // made and shown once every level is completed
  int themeIndex = 0;
  bool musicOn = true;  // start-up has started the music before the menu is built
  GuiText* pointsText;
  // Problems met on the way (a level that cannot be loaded, a damaged progress file); the next
  // click closes it.
  PopUp* notice;
  bool timerShown = false;  // in the levels played from the menu
  bool ghostShown = true;

 protected:
  // Runs the level's play state nested in this one (tests replace it to script the results
  // without running a loop).
  virtual PlayResult playNested(PlayState& play);
  void showNotice(const std::vector<std::string>& lines);

 private:
  void createWidgets();
  void addFinalButton();
  int clickedLevel();
  void playFrom(int levelIndex);
  void showFinalScreen();
  // Plays the level in a nested play state and gives its result, or nothing when the level
  // could not be loaded.
  std::optional<PlayResult> runPlay(int levelIndex, const char* fileName);
  void nextTheme();
  void switchMusic();
  int watchedLevel();

  Theme* theme_ = themes[0];
  // The best run of the level under the mouse is watched by a right click or W.
  MouseKey rightButton_{2};
  OnPress rightClicked_{&rightButton_};
  Key watchKey_{ALLEGRO_KEY_W};
  OnPress watchPressed_{&watchKey_};
};
