#pragma once

#include <allegro5/allegro_font.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "world/entity.h"
#include "world/level_record.h"

// One choice of the palette: a kind, and the fields of the records it places.
struct PaletteEntry {
  const LevelKind* kind;
  RecordFields fields;
};

// The palette's pictures: the chosen object drawn beside its name, and an overview of every
// entry with its picture and name to be clicked. The pictures are objects of their own, made
// once per name and never part of the level.
class PaletteView {
 public:
  static constexpr int kColumns = 6;

  bool overviewOpen() const { return overviewOpen_; }
  void openOverview() { overviewOpen_ = true; }
  void closeOverview() { overviewOpen_ = false; }

  // The entry of `count` whose place in the overview holds the picture point (x, y), or -1.
  static int entryAt(int x, int y, int count);

  // The name at the top left and the picture beside it.
  void drawChosen(ALLEGRO_FONT* font, const PaletteEntry& entry);
  // Every entry in its place; the chosen one framed in yellow, the one under the mouse in white.
  void drawOverview(ALLEGRO_FONT* font, const std::vector<PaletteEntry>& entries, int chosen, int underMouse);

 private:
  void drawPicture(const PaletteEntry& entry, float x, float y);

  bool overviewOpen_ = false;
  std::map<std::string, std::unique_ptr<Entity>> pictures_;  // by kind code and name
};
