#pragma once

#include <allegro5/allegro.h>

#include "world/entity.h"

// Scenery the play state makes by itself: drifts leftwards, re-enters at the right edge, is
// tinted by the current theme, which also decides once whether it passes behind the level.
class Cloud : public Entity {
 public:
  Cloud();

  void update(double dt) override;
  void draw() override;

  double speed;
  bool behind;

 private:
  struct Start;
  static Start randomStart();
  explicit Cloud(const Start& start);

  ALLEGRO_BITMAP* image;
};
