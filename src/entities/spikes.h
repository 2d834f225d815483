#pragma once

#include "app/sheet.h"
#include "world/entity.h"

// A one-tile hazard: the avatar dies when its box reaches the line of the tips.
class Spikes : public Entity {
 public:
  Spikes();

  void update(double dt) override;
  void draw() override;

 private:
  Sheet* sheet;
};
