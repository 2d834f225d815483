#pragma once

#include "app/sheet.h"
#include "world/entity.h"
#include "world/tag.h"

class Level;

// One 20 x 20 wall block of a switch channel: solid and drawn as a shaded block while its
// channel is on, passable and drawn as a faint outline while it is off.
class Tile : public Entity {
 public:
  static constexpr int kTag = tagOf("tile");
  enum Edge { EDGE_LEFT = 1, EDGE_RIGHT = 2, EDGE_TOP = 4, EDGE_BOTTOM = 8 };

  Tile(int channel, Level* level, int col, int row);

  void draw() override;
  RunDrawer runDrawer() const override { return drawRun; }

  // Whether its channel is on in the level its world plays; in a world that plays none (the
  // editor's) every channel is on.
  bool solid() const;
  // Recomputes edges from the four neighbours' channels (never from whether they are on).
  void computeEdges();
  // Called by the grid build.
  void link(Level* level, int col, int row);

  int channel;
  Level* level;
  int edges = 0;
  int col;
  int row;

 private:
  static void drawRun(const std::vector<Entity*>& run);
  ALLEGRO_BITMAP* picture() const;

  Sheet* sheet;
};
