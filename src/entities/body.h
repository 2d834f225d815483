#pragma once

#include "entities/tile_collision.h"
#include "world/entity.h"

// An entity that falls under gravity and is pushed out of solid tiles: the avatar, bags and
// baddies. Each kind says in touchTile what a contact does to it before it is pushed out.
class Body : public Entity {
 public:
  Body(TagList tags, int drawLayer, double fallSpeedLimit) : Entity(tags, drawLayer), fallSpeedLimit_(fallSpeedLimit) {}

  double vx = 0.0;  // px/s
  double vy = 0.0;  // px/s

 protected:
  // One frame of free flight: gravity up to the fall-speed limit, then the move with the new
  // velocity. There is no air drag.
  void fly(double dt);
  // Pushes the body out of solid tiles, the shallowest overlap first, at most 20 times. Before
  // each push-out touchTile reacts to the contact; it returns false to stop resolving.
  void resolveTiles();
  virtual bool touchTile(const TileContact& contact) = 0;

 private:
  double fallSpeedLimit_;  // px/s
};
