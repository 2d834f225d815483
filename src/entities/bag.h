#pragma once

#include <allegro5/allegro.h>

#include "entities/carryable.h"
#include "world/tag.h"

// A bag of garbage: rests on three ground points, flies under gravity when thrown or dropped,
// and is what containers swallow.
class Bag : public Carryable {
 public:
  static constexpr int kTag = tagOf("grbg");
  Bag();

  Box box() const override;
  void update(double dt) override;
  void draw() override;

 private:
  bool onGround() const;

  ALLEGRO_BITMAP* image;
};
