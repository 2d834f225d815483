#pragma once

#include "entities/tile_collision.h"
#include "world/entity.h"

// The points a body stands on, px from its x across its 20-pixel width: the middle, then the
// left and right sides.
constexpr double kFeetX[] = {10.0, 5.0, 15.0};

// An entity that falls under gravity and is pushed out of solid tiles: the avatar, bags and
// baddies. Each kind says in touchTile what a contact does to it before it is pushed out.
class Body : public Entity {
 public:
  Body(const TagList& tags, int drawLayer, double fallSpeedLimit)
      : Entity(tags, drawLayer), fallSpeedLimit_(fallSpeedLimit) {}

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
  // Whether a solid tile of the level lies just under the body's feet, at `offsetX` px from its x.
  bool groundUnder(double offsetX) const;

 private:
  double fallSpeedLimit_;  // px/s
};
