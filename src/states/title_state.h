#pragma once

#include <allegro5/allegro.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"
#include "campaign/campaign.h"
#include "campaign/campaign_choice.h"
#include "entities/pop_up.h"
#include "gui/gui_button.h"
#include "gui/gui_text.h"
#include "gui/level_button.h"
#include "gui/menu_focus.h"
#include "states/options_state.h"
#include "states/play_state.h"
#include "themes/themes.h"
#include "world/world.h"

// The menu over a live level: pick a level (levels then run one after another in nested play
// states while their results ask for it), cycle the themes, switch the music, choose the
// campaign whose levels the grid shows, open the options (also the gamepad's Start), open the
// final screen once every level is completed, or quit with Escape or "Quit". The arrow keys or
// the gamepad move a focus over the buttons as well.
class TitleState : public AppState {
 public:
  // Offers the campaigns found where the game keeps them.
  TitleState();
  explicit TitleState(std::vector<Campaign> found);
  ~TitleState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  // The theme the player chose: the menu's scene and every level played from it are drawn in
  // it (the final screen in its own).
  Theme& theme() const { return *theme_; }
  void useTheme(Theme& theme);
  // Shows the campaign's levels in the grid, with its points and final button; a broken one
  // says why in the notice, and so does a damaged progress file.
  void useCampaign(const std::string& folderName);

  CampaignChoice campaigns;
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
  GuiButton* optionsButton;
  GuiButton* campaignButton;
  GuiButton* finalButton = nullptr;  // made and shown once every level is completed
  int themeIndex = 0;
  bool musicOn = true;  // start-up has started the music before the menu is built
  GuiText* pointsText;
  // Problems met on the way (a level that cannot be loaded, a damaged progress file, a broken
  // campaign); the next click closes it. Drawn over every widget.
  std::unique_ptr<PopUp> notice;
  // The player's choices that the options screen shows and changes (the music switch and the
  // theme are the menu's own), and the file that keeps them when the screen closes (none: empty).
  Settings settings;
  std::string settingsPath;
  MenuFocus focus;

 protected:
  // Runs the level's play state nested in this one (tests replace it to script the results
  // without running a loop).
  virtual PlayResult playNested(PlayState& play);
  void showNotice(const std::vector<std::string>& lines);
  // Runs the options screen nested in this one (tests replace it).
  virtual void showOptions(OptionsState& options);

 private:
  void createWidgets();
  void showCampaign();
  void addFinalButton();
  void nextCampaign();
  void showProblems();
  int clickedLevel();
  void playFrom(int levelIndex);
  void showFinalScreen();
  // Plays the level in a nested play state and gives its result, or nothing when the level
  // could not be loaded.
  std::optional<PlayResult> runPlay(const char* fileName, PlayedLevel played);
  void nextTheme();
  void switchMusic();
  void openOptions();
  // The buttons the focus moves over: the level grid, the column on the right from the top, the
  // final button once there, Quit. The first is where the focus first shows.
  std::vector<GuiButton*> focusOrder() const;
  int watchedLevel();

  Theme* theme_ = themes[0];
  // The best run of the level under the mouse is watched by a right click or W.
  MouseKey rightButton_{2};
  OnPress rightClicked_{&rightButton_};
  Key watchKey_{ALLEGRO_KEY_W};
  OnPress watchPressed_{&watchKey_};
};
