#pragma once

#include <allegro5/allegro.h>

#include <vector>

#include "app/app_state.h"
#include "states/gui_button.h"
#include "states/gui_text.h"
#include "states/level_button.h"
#include "states/play_state.h"
#include "world/world.h"

// The menu over a live level: pick a level (levels then run one after another in nested play
// states while their results ask for it), cycle the themes, switch the music, open the final
// screen once every level is completed, or quit with Escape or "Quit".
class TitleState : public AppState<int> {
 public:
  TitleState();
  ~TitleState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  World* world;
  PlayState* background;
  ALLEGRO_BITMAP* logo;
  std::vector<LevelButton*> levelButtons;
  GuiButton* themeButton;
  GuiButton* quitButton;
  GuiButton* musicButton;
  GuiButton* finalButton;
  int themeIndex = 0;
  bool musicOn = true;  // start-up has started the music before the menu is built
  GuiText* pointsText;

 protected:
  // Runs one play state nested in this one and gives its result. Tests replace it to script
  // the results without running a loop.
  virtual int runPlay(int levelIndex, const char* fileName);

 private:
  void createWidgets();
  void addFinalButton();
  bool clickedLevel();
  void playFrom(int levelIndex);
  void showFinalScreen();
  void nextTheme();
  void switchMusic();

  bool finalButtonAdded = false;
};
