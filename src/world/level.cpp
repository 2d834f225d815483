#include "world/level.h"

#include "world/tile.h"
#include "world/world.h"

namespace {

// The grid index of a pixel coordinate, truncating toward zero (so -20 < v < 20 is 0), or -1
// outside the grid. The range test comes first so that huge or NaN values are never converted.
int cellIndex(double v, int count) {
  if (!(v > -kCellSize && v < count * kCellSize)) return -1;
  return static_cast<int>(v) / kCellSize;
}

}  // namespace

Level::Level() = default;

Tile* Level::cell(int col, int row) const {
  if (static_cast<unsigned>(col) >= kColumns || static_cast<unsigned>(row) >= kRows) return nullptr;
  return cells_[col * kRows + row];
}

Tile* Level::solidTileAt(double x, double y) const {
  Tile* tile = cell(cellIndex(x, kColumns), cellIndex(y, kRows));
  return tile && tile->solid() ? tile : nullptr;
}

// A tile lying outside the grid is left out.
void Level::build(World& world) {
  for (Tile& tile : world.all<Tile>()) {
    int col = cellIndex(tile.x(), kColumns);
    int row = cellIndex(tile.y(), kRows);
    if (col >= 0 && row >= 0) cells_[col * kRows + row] = &tile;
  }
  looseCount = static_cast<int>(world.byTag(tagOf("loos")).size());
  for (int col = 0; col < kColumns; ++col) {
    for (int row = 0; row < kRows; ++row) {
      Tile* tile = cells_[col * kRows + row];
      if (!tile) continue;
      tile->link(this, col, row);
      tile->computeEdges();
    }
  }
}
