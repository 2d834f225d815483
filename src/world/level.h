#pragma once

#include "app/geometry.h"

class Tile;
class World;

// The 40 x 30 tile grid of a level, 20-pixel cells covering the 800 x 600 screen. Movement
// code asks it for the solid tile at a pixel; tiles ask it for their neighbours. The tiles are
// the world's, which keeps them for the level's life: nothing removes a tile.
class Level {
 public:
  static constexpr int kColumns = kGridColumns;
  static constexpr int kRows = kGridRows;

  Level();
  virtual ~Level() = default;
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  // Null when col or row lies outside the grid (negative included) or the cell is empty.
  Tile* cell(int col, int row) const;
  // The tile in the cell of pixel (x, y) if its channel is on in its level; coordinates truncate
  // toward zero, so -20 < x < 20 is column 0.
  Tile* solidTileAt(double x, double y) const;
  // Enters the world's tiles in their cells (a later tile in the same cell wins), counts the
  // loose garbage, then links each tile and computes its edges. The world must be flushed.
  void build(World& world);

  int looseCount = 0;

 private:
  Tile* cells_[kColumns * kRows] = {};
};
