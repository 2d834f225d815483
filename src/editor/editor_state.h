#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/geometry.h"
#include "app/switch.h"
#include "world/entity.h"
#include "world/level_record.h"
#include "world/world.h"

// The level editor: the mouse paints objects of the chosen palette entry into the 40 x 30
// cells or erases them; Z, X and the wheel choose the entry; S saves "levels/edit.lv", L loads it
// back, P test-plays the level in a nested play state. Entities are never updated here.
class EditorState : public AppState<int> {
 public:
  static constexpr int kColumns = kGridColumns;
  static constexpr int kRows = kGridRows;

  EditorState();
  ~EditorState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;

  // The entity in the cell at (column, row), null when empty or outside the grid.
  Entity* cellAt(int column, int row) const;

  // One choice of the palette: a kind, and the fields of the records it places.
  struct PaletteEntry {
    const LevelKind* kind;
    RecordFields fields;
    std::string label() const { return kind->label(fields); }
  };

  std::vector<PaletteEntry> palette;
  int selected = 0;
  World* world;
  int lastCellX;  // px, the cell of the last placement
  int lastCellY;  // px
  int lastWheel = 0;

 protected:
  // Runs the test play nested in this state (tests replace it to stay without a display loop).
  virtual void runTestPlay(const char* fileName);

 private:
  struct Cell {
    int px;
    int py;
    bool inside;
  };

  void createPalette();
  Cell mouseCell() const;
  Entity*& cell(const Cell& at);
  void placeAt(const Cell& at);
  void eraseAt(const Cell& at);
  void paint(const Cell& at);
  void choosePrototype();
  void save();
  void load();
  void testPlay();
  void mirrorCells();

  Switch* own(Switch* created);
  Switch* pressOf(Switch* inner);

  std::vector<Switch*> switches;  // the editor's own, in creation order
  Switch* placePress;
  Switch* placeHeld;
  Switch* saveKey;
  Switch* loadKey;
  Switch* playKey;
  Switch* previousKey;
  Switch* nextKey;
  Switch* eraseHeld;
  ALLEGRO_FONT* font;
  Entity* cells[kColumns * kRows] = {};
};
