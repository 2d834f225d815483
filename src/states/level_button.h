#pragma once

#include "app/sheet.h"
#include "states/gui_button.h"

// A menu button for one level: enabled while the level is unlocked, with its crowns above it
// and, under the mouse, the level's record in the middle of the menu.
class LevelButton : public GuiButton {
 public:
  LevelButton(const Box& rect, int levelIndex);

  void update(double dt) override;
  void draw() override;

  int levelIndex;

 private:
  Sheet* sheet;
};
