#pragma once

#include <allegro5/allegro.h>

#include <string>

#include "app/sheet.h"
#include "campaign/progress.h"
#include "gui/gui_button.h"

// A menu button for one level of a campaign: enabled while the level is unlocked, with its
// crowns above it and, under the mouse, the level's name and record in the middle of the menu.
class LevelButton : public GuiButton {
 public:
  LevelButton(const Box& rect, int levelIndex, const Progress& progress, const std::string& name);

  void update(double dt) override;
  void draw() override;

  int levelIndex;

 private:
  const LevelRecord& record() const;
  void drawMarks() const;
  void drawInformation() const;
  void drawLine(ALLEGRO_COLOR colour, float y, const std::string& text) const;

  Sheet* sheet;
  const Progress& progress_;
  std::string name_;  // empty when pack.txt gives none
};
