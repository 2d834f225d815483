#pragma once

#include <allegro5/allegro.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/switch.h"
#include "gui/gui_button.h"
#include "gui/menu_focus.h"
#include "states/pause_menu.h"
#include "world/world.h"

// Holds a level still behind its pause menu. P, the pad's Start or the window losing focus ask
// for it; the entries answer the mouse, the arrows or the pad's stick with Enter or A, and P,
// Escape, Start or B resume. While paused the level is not updated at all, so its clock, its
// bodies, its theme and the run being kept all stand.
class Pause {
 public:
  Pause();

  // Read every frame, paused or not, so that a request made while the level cannot pause (a
  // menu's scene, an ended level) is not kept for later.
  bool asked();
  void open(const std::vector<PauseEntry>& entries);
  // One frame of the open menu: the choice made in it, if any. Resume closes the menu.
  std::optional<PauseChoice> update(double dt);
  void draw() const;
  bool paused() const { return panel_ != nullptr; }
  // A screen opened from the menu (options, help) covers it: the menu is not drawn meanwhile.
  void setCovered(bool covered) { covered_ = covered; }

  // The buttons of the open menu, in its order (empty while not paused).
  std::vector<GuiButton*> buttons() const;

 private:
  struct Panel {
    World world;
    std::vector<std::pair<GuiButton*, PauseChoice>> entries;
    Box box;
  };
  bool resumeAsked() const;
  bool focusWasLost();

  Key pKey_{ALLEGRO_KEY_P};
  OnPress pPressed_{&pKey_};
  int focusLossesSeen_;
  bool covered_ = false;
  std::unique_ptr<Panel> panel_;
  MenuFocus focus_;
};
