#pragma once

#include "world/theme.h"

// An orange-to-red evening sky with pinkish clouds.
class ThSunset : public Theme {
 public:
  ALLEGRO_COLOR skyTop() const override;
  ALLEGRO_COLOR skyBottom() const override;
  ALLEGRO_COLOR cloudTint() const override;
  const char* name() const override { return "Sunset"; }
  int requiredPoints() const override { return 6; }
};
