#include "world/level.h"

#include <unordered_set>

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

Level::~Level() {
  for (Tile* tile : ownedTiles_) delete tile;
}

Tile* Level::cell(int col, int row) const {
  if (static_cast<unsigned>(col) >= kColumns || static_cast<unsigned>(row) >= kRows) return nullptr;
  return cells_[col * kRows + row];
}

Tile* Level::solidTileAt(double x, double y) const {
  Tile* tile = cell(cellIndex(x, kColumns), cellIndex(y, kRows));
  return tile && tile->solid() ? tile : nullptr;
}

// The grid takes every tile of the world, also one replaced in its cell or one lying outside
// the grid, so that each is deleted exactly once, with the grid.
void Level::build(World& world) {
  std::unordered_set<Tile*> owned(ownedTiles_.begin(), ownedTiles_.end());
  for (Entity* entity : world.byTag(tagOf("tile"))) {
    Tile* tile = static_cast<Tile*>(entity);
    if (owned.insert(tile).second) {
      ownedTiles_.push_back(tile);
      world.disown(tile);
    }
    int col = cellIndex(tile->x(), kColumns);
    int row = cellIndex(tile->y(), kRows);
    if (col >= 0 && row >= 0) cells_[col * kRows + row] = tile;
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
