#pragma once

#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

#include "app/sheet.h"
#include "world/entity.h"
#include "world/tag.h"

class Carryable;

// A bin with an open top that swallows free bags falling through its mouth and counts down
// the bags it still wants; the level is complete when every container is full.
class Container : public Entity {
 public:
  static constexpr int kTag = tagOf("cont");
  Container(double x, double y, int remaining);

  Box box() const override;
  void update(double dt) override;
  void draw() override;

  int remaining;

 private:
  void swallow(Carryable& bag);

  Sheet* sheet;
  ALLEGRO_FONT* font;
  ALLEGRO_SAMPLE* dropSound;
};
