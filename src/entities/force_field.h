#pragma once

#include "world/entity.h"

// A beam one tile long, vertical or horizontal, that kills the avatar at its centre or either
// end. Bags and baddies pass through it; it cannot be switched.
class ForceField : public Entity {
 public:
  explicit ForceField(bool vertical);

  void update(double dt) override;
  void draw() override;

  bool vertical;
};
