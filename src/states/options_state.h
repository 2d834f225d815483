#pragma once

#include <allegro5/allegro.h>

#include <bitset>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"
#include "gui/gui_button.h"
#include "gui/gui_text.h"
#include "gui/menu_focus.h"
#include "states/play_state.h"
#include "world/world.h"

// The options screen over the menu's live scene: the music and effects volumes, the window mode
// and scaling, vertical sync, the on-screen timer, the ghost, the assists (game speed,
// invincibility, the hint), and the six play keys. Every change takes effect
// at once (vertical sync at the next start); the owner keeps and saves the settings. A play key
// is rebound by clicking its button and pressing the new key; a key that something else has is
// refused with a message. Escape (or the gamepad's Start or B) while no key is awaited, or
// "Back", leaves.
class OptionsState : public AppState {
 public:
  OptionsState(Settings& settings, PlayState& scene, SceneMotion motion = SceneMotion::Moving);

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  // Where a column's row labels are centred and its choices stand (px).
  struct Column {
    double labelCentre;
    double choiceLeft, choiceRight;
  };

  // One row's step buttons: lower, higher.
  struct PercentageButtons {
    GuiButton* lower;
    GuiButton* higher;
    GuiText* value;
  };

  Settings& settings;
  std::unique_ptr<World> world;
  PercentageButtons musicVolume, effectsVolume, gameSpeed;
  GuiButton* windowButton;
  GuiButton* scalingButton;
  GuiButton* vsyncButton;
  GuiButton* timerButton;
  GuiButton* ghostButton;
  GuiButton* invincibleButton;
  GuiButton* hintButton;
  std::vector<GuiButton*> keyButtons;  // in PlayKey order
  GuiButton* defaultKeysButton;
  GuiButton* backButton;
  GuiText* message;
  std::optional<PlayKey> awaitedKey;  // the play key whose new key is awaited

 private:
  void createWidgets();
  GuiText* addRowLabel(const Column& column, int row, const char* label);
  PercentageButtons addPercentageRow(const Column& column, int row, const char* label);
  GuiButton* addChoiceRow(const Column& column, int row, const char* label);
  void readButtons();
  void readAssists();
  void takeAwaitedKey(int keyCode);
  int keyWentDown();
  void showChoices();
  std::vector<GuiButton*> focusOrder() const;

  PlayState& scene_;
  SceneMotion motion_;
  MenuFocus focus_;
  std::bitset<ALLEGRO_KEY_MAX> keysDown_;
};
