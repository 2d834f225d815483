#pragma once

#include <allegro5/allegro_audio.h>

#include <optional>
#include <vector>

#include "app/blend.h"
#include "app/sheet.h"
#include "world/entity.h"

// Loose garbage: a bobbing, glowing pick-up the avatar collects by touching its centre;
// gathering all of a level's loose garbage earns the golden crown.
class Garbage : public Entity {
 public:
  Garbage();

  void update(double dt) override;
  void draw() override;
  RunDrawer runDrawer() const override { return drawRun; }

  double phase = 0.0;  // s since creation
  int frame;

 private:
  static void drawRun(const std::vector<Entity*>& run);
  static bool glowsReachLaterSprites(const std::vector<Entity*>& run);
  void collect();
  ALLEGRO_BITMAP* sprite() const;
  float bobbedY() const;
  std::optional<ColouredEllipse> glow() const;

  Sheet* sheet;
  ALLEGRO_SAMPLE* pickupSound;
};
