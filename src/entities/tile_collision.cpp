#include "entities/tile_collision.h"

#include "app/geometry.h"
#include "world/entity.h"
#include "world/play_context.h"
#include "world/tile.h"

namespace {

constexpr double kNoDepth = 1000.0;    // px, deeper than any real overlap
constexpr double kIgnoredDepth = 1.0;  // px; overlaps this shallow or shallower do not count

// Keeps the candidate when it is strictly shallower than the best so far and deeper than 1 px.
void consider(TileContact& best, TileContact::Direction direction, Tile* tile, double depth) {
  if (depth > kIgnoredDepth && depth < best.depth) {
    best.direction = direction;
    best.tile = tile;
    best.depth = depth;
  }
}

}  // namespace

TileContact probeTiles(const Entity& entity) {
  const Level& grid = *entity.playContext().grid;
  Box box = entity.box();
  double middleX = (box.left + box.right) / 2;
  double middleY = (box.top + box.bottom) / 2;
  TileContact best;
  best.depth = kNoDepth;
  if (Tile* tile = grid.solidTileAt(middleX, box.bottom)) {
    consider(best, TileContact::Floor, tile, box.bottom - tile->y());
  }
  if (Tile* tile = grid.solidTileAt(middleX, box.top)) {
    consider(best, TileContact::Ceiling, tile, tile->y() + kCellSize - box.top);
  }
  if (Tile* tile = grid.solidTileAt(box.left, middleY)) {
    consider(best, TileContact::LeftWall, tile, tile->x() + kCellSize - box.left);
  }
  if (Tile* tile = grid.solidTileAt(box.right, middleY)) {
    consider(best, TileContact::RightWall, tile, box.right - tile->x());
  }
  if (best.direction == TileContact::None) best.depth = 0.0;
  return best;
}

void pushOut(Entity& entity, const TileContact& contact) {
  switch (contact.direction) {
    case TileContact::LeftWall:
      entity.setX(entity.x() + contact.depth);
      break;
    case TileContact::RightWall:
      entity.setX(entity.x() - contact.depth);
      break;
    case TileContact::Ceiling:
      entity.setY(entity.y() + contact.depth);
      break;
    case TileContact::Floor:
      entity.setY(entity.y() - contact.depth);
      break;
    case TileContact::None:
      break;
  }
}
