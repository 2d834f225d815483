#pragma once

class Entity;
class Tile;

// The shallowest overlap of an entity's box with a solid tile of its level's grid, shared by the
// avatar, bags and baddies. Overlaps of 1 pixel or less are ignored.
struct TileContact {
  enum Direction { None, Floor, Ceiling, LeftWall, RightWall };
  Direction direction = None;
  Tile* tile = nullptr;
  double depth = 0.0;
};

TileContact probeTiles(const Entity& entity);
// Moves the entity out of the tile by the contact's depth.
void pushOut(Entity& entity, const TileContact& contact);
