#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"
#include "app/switch.h"
#include "campaign/campaign.h"
#include "entities/pop_up.h"
#include "gui/gui_button.h"
#include "gui/gui_text.h"
#include "gui/menu_focus.h"
#include "states/help_state.h"
#include "states/menu_model.h"
#include "states/options_state.h"
#include "states/play_state.h"
#include "world/world.h"

// The menu over a live level: pick a level (levels then run one after another in nested play
// states while their results ask for it), cycle the themes, switch the music, choose the
// campaign whose levels the grid shows, open the options (also the gamepad's Start), open the
// final screen once every level is completed, or quit with Escape or "Quit". The arrow keys or
// the gamepad move a focus over the buttons as well. Its rules are the menu model's; the state
// draws the model's buttons and carries out their presses.
class TitleState : public AppState {
 public:
  // Offers the campaigns found where the game keeps them.
  TitleState();
  explicit TitleState(std::vector<Campaign> found);
  ~TitleState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  MenuModel& menu() { return menu_; }
  // The live level behind the menu.
  PlayState& scene() { return *background_; }
  // The menu's widgets as drawn.
  World& widgets() { return *world_; }
  // The file the choices are kept in as soon as the options screen closes (none: empty).
  void keepSettingsIn(const std::string& path) { settingsPath_ = path; }
  // The button the focus mark is on, while it shows.
  std::optional<MenuButton> focused() const;
  // Plays the best run of level `levelIndex` (from 0) for the player to watch, or shows in the
  // notice why there is none.
  void watchBestRun(int levelIndex);

  // Whether the campaign's name, author, description and proven levels show: while the
  // campaign button is under the mouse or the focus, and no notice covers the menu.
  bool showsCampaignInformation() const;

  // What the menu starts that lies above it, handed over by start-up: the editor, run nested
  // in the menu, and the installer of a campaign. Without them the buttons do nothing.
  std::function<void(AppState& outer)> runEditor;
  std::function<CampaignInstall(const std::string& source, bool replace)> installCampaign;

 protected:
  // Runs the level's play state nested in this one (tests replace it to script the results
  // without running a loop).
  virtual PlayResult playNested(PlayState& play);
  // Runs the options screen nested in `outer`: this menu, or a level paused in it (tests
  // replace it).
  virtual void showOptions(AppState& outer, OptionsState& options);
  // Runs the help screen nested in this one (tests replace it).
  virtual void showHelp(HelpState& help);
  // Asks for a campaign to add in the desktop's file dialog (tests replace it).
  virtual std::optional<std::string> chooseCampaign();

 private:
  void showWidgets();
  void rebuildButtons(const std::vector<MenuButton>& wanted);
  void showNotice();
  void respond();
  std::optional<MenuButton> pressed();
  void carryOut(const MenuButton& button);
  void playFrom(int levelIndex);
  // Plays the level in a nested play state and gives its result, or nothing when the level
  // could not be loaded.
  std::optional<PlayResult> runPlay(const std::string& fileName, PlayedLevel played);
  void switchMusic();
  void openEditor();
  void findCampaignsAgain();
  void addCampaign(const std::string& source, bool replace);
  void answerReplacement();
  void drawCampaignSummary();
  void openOptions(PlayState& scene, SceneMotion motion);
  int watchedLevel() const;

  MenuModel menu_;
  std::unique_ptr<PlayState> background_;
  std::unique_ptr<World> world_;  // the widgets
  ALLEGRO_BITMAP* logo_;
  std::vector<std::pair<MenuButton, GuiButton*>> buttons_;  // in focus order
  std::vector<GuiText*> texts_;
  size_t shownCampaign_ = 0;
  PopUp notice_;
  int noticeRevision_ = 0;
  MenuFocus focus_;
  std::string settingsPath_;
  // Menu time left in which Escape does not quit: an Escape meant for the level just left (a
  // second press to leave it) lands here.
  double escapeGrace_ = 0.0;
  // The best run of the level under the mouse is watched by a right click or W.
  MouseKey rightButton_{2};
  OnPress rightClicked_{&rightButton_};
  Key watchKey_{ALLEGRO_KEY_W};
  OnPress watchPressed_{&watchKey_};
  // The answers to replacing an installed campaign.
  Key yesKey_{ALLEGRO_KEY_Y};
  OnPress yesPressed_{&yesKey_};
  Key noKey_{ALLEGRO_KEY_N};
  OnPress noPressed_{&noKey_};
  ALLEGRO_FONT* font_;
};

// Starts the menu's tune.
void playTitleMusic();
