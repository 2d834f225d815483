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

// The options screen over the menu's live scene: the music and effects volumes, the window mode,
// vertical sync, the on-screen timer, the ghost, and the six play keys. Every change takes effect
// at once (vertical sync at the next start); the owner keeps and saves the settings. A play key
// is rebound by clicking its button and pressing the new key; a key that something else has is
// refused with a message. Escape (or the gamepad's Start or B) while no key is awaited, or
// "Back", leaves.
class OptionsState : public AppState {
 public:
  OptionsState(Settings& settings, PlayState& scene, SceneMotion motion = SceneMotion::Moving);

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  // One row's step buttons: lower, higher.
  struct VolumeButtons {
    GuiButton* lower;
    GuiButton* higher;
    GuiText* value;
  };

  Settings& settings;
  std::unique_ptr<World> world;
  VolumeButtons musicVolume, effectsVolume;
  GuiButton* windowButton;
  GuiButton* vsyncButton;
  GuiButton* timerButton;
  GuiButton* ghostButton;
  std::vector<GuiButton*> keyButtons;  // in PlayKey order
  GuiButton* defaultKeysButton;
  GuiButton* backButton;
  GuiText* message;
  std::optional<PlayKey> awaitedKey;  // the play key whose new key is awaited

 private:
  void createWidgets();
  GuiText* addRowLabel(int row, const char* label);
  VolumeButtons addVolumeRow(int row, const char* label);
  GuiButton* addChoiceRow(int row, const char* label);
  void readButtons();
  void takeAwaitedKey(int keyCode);
  int keyWentDown();
  void showChoices();
  std::vector<GuiButton*> focusOrder() const;

  PlayState& scene_;
  SceneMotion motion_;
  MenuFocus focus_;
  std::bitset<ALLEGRO_KEY_MAX> keysDown_;
};
