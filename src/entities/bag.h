#pragma once

#include <allegro5/allegro.h>

#include "entities/carryable.h"

// A bag of garbage: rests on three ground points, flies under gravity when thrown or dropped,
// and is what containers swallow.
class Bag : public Carryable {
 public:
  Bag();

  const char* typeCode() const override { return "gb"; }
  const int* tags() const override;
  int order(int tag) const override;
  Box box() const override;
  void update(double dt) override;
  void draw() override;
  Entity* create() const override { return new Bag(); }
  std::string editorLabel() const override { return "garbage"; }

 private:
  bool onGround() const;

  ALLEGRO_BITMAP* image;
};
