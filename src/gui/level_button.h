#pragma once

#include <allegro5/allegro.h>

#include <string>
#include <vector>

#include "app/sheet.h"
#include "campaign/progress.h"
#include "gui/gui_button.h"

// One line of a level's information, centred in the middle of the menu with its top at y.
struct InformationLine {
  float y;  // px
  std::string text;
  bool highlighted;  // yellow: what the player has achieved
};

// What the menu says of a level under the mouse or the focus: its number and name, and its
// record (what only runs with assists earned says so), or what opens it.
std::vector<InformationLine> levelInformation(const Progress& progress, int levelIndex, const std::string& name);

// A menu button for one level of a campaign: enabled while the level is unlocked, with its
// crowns (or, locked, a lock) above it and, under the mouse or the focus, the level's name and
// record in the middle of the menu, or which levels to complete to open it.
class LevelButton : public GuiButton {
 public:
  LevelButton(const Box& rect, int levelIndex, const Progress& progress, const std::string& name);

  void update(double dt) override;
  void draw() override;
  bool focusableWhenDisabled() const override { return true; }
  // The information shown now: the level's, while the button is under the mouse or the focus.
  std::vector<InformationLine> information() const;

  int levelIndex;

 private:
  const LevelRecord& record() const;
  void drawMarks() const;
  void drawLock() const;
  void drawInformation() const;

  Sheet* sheet;
  const Progress& progress_;
  std::string name_;        // empty when pack.txt gives none
  bool pointedAt_ = false;  // under the mouse, locked or not
};

// What a locked level's information says it needs: "Locked: complete level 4 first", "Locked:
// complete levels 4, 5 and 6 first".
std::string lockNote(const Progress& progress, int levelIndex);
