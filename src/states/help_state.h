#pragma once

#include <memory>

#include "app/app_state.h"
#include "gui/gui_button.h"
#include "gui/menu_focus.h"
#include "states/play_state.h"
#include "world/world.h"

// The Help screen over a level (the menu's scene, or a paused level held still): the controls as
// bound now, the aim of a level, the crowns and the editor. Escape, the pad's B or Start, or
// "Back" (clicked, or pressed with Enter or the pad's A) leave.
class HelpState : public AppState {
 public:
  explicit HelpState(PlayState& scene, SceneMotion motion = SceneMotion::Moving);

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  // The screen's widgets: its heading and its button.
  std::unique_ptr<World> world;
  GuiButton* backButton;

 private:
  void drawPage() const;

  PlayState& scene_;
  SceneMotion motion_;
  MenuFocus focus_;
};
