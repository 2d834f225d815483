#pragma once

#include "world/theme.h"

// A grey sky with every cloud in front of the level and a fog bank, densest at the top, over
// everything.
class ThMist : public Theme {
 public:
  ALLEGRO_COLOR skyTop() const override;
  ALLEGRO_COLOR skyBottom() const override;
  ALLEGRO_COLOR cloudTint() const override;
  void afterEntities() override;
  void update(double dt) override { clock += dt; }
  const char* name() const override { return "Mist"; }
  bool cloudBehind() override { return false; }
  int requiredPoints() const override { return 12; }

  double clock = 0.0;  // s
};
