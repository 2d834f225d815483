#pragma once

#include <allegro5/allegro.h>

#include <string>

#include "app/sheet.h"
#include "campaign/progress.h"
#include "gui/gui_button.h"

// A menu button for one level of a campaign: enabled while the level is unlocked, with its
// crowns (or, locked, a lock) above it and, under the mouse or the focus, the level's name and
// record in the middle of the menu, or which levels to complete to open it.
class LevelButton : public GuiButton {
 public:
  LevelButton(const Box& rect, int levelIndex, const Progress& progress, const std::string& name);

  void update(double dt) override;
  void draw() override;
  bool focusableWhenDisabled() const override { return true; }

  int levelIndex;

 private:
  const LevelRecord& record() const;
  void drawMarks() const;
  void drawLock() const;
  void drawInformation() const;
  void drawLine(ALLEGRO_COLOR colour, float y, const std::string& text) const;

  Sheet* sheet;
  const Progress& progress_;
  std::string name_;        // empty when pack.txt gives none
  bool pointedAt_ = false;  // under the mouse, locked or not
};

// What a locked level's information says it needs: "Locked: complete level 4 first", "Locked:
// complete levels 4, 5 and 6 first".
std::string lockNote(const Progress& progress, int levelIndex);
