#pragma once

#include <allegro5/allegro.h>

#include "world/entity.h"

class Theme;

// Scenery the play state makes by itself: drifts leftwards, re-enters at the right edge, is
// tinted by its level's theme. The theme it is made under decides once whether it passes behind
// the level.
class Cloud : public Entity {
 public:
  explicit Cloud(Theme& theme);

  void update(double dt) override;
  void draw() override;

  double speed;
  bool behind;

 private:
  struct Start;
  static Start randomStart(Theme& theme);
  explicit Cloud(const Start& start);

  ALLEGRO_BITMAP* image;
};
