#pragma once

#include <allegro5/allegro.h>

#include "world/theme.h"

// The default sky with the level bobbing and rocking on its clock.
class ThSway : public Theme {
 public:
  void beforeEntities() override;
  void afterEntities() override;
  void update(double dt) override { clock += dt; }
  const char* name() const override { return "Liquor"; }
  int requiredPoints() const override { return 30; }

  double clock = 0.0;  // s

 private:
  ALLEGRO_TRANSFORM outside_;  // the transform in use before the sway, put back after it
};
