#pragma once

#include <array>

#include "world/theme.h"

// A dark purple sky with fixed stars behind the level, black clouds behind it, and a dark veil
// over everything.
class ThNight : public Theme {
 public:
  static constexpr int kStarCount = 100;
  struct Star {
    double x, y;  // px
  };

  // Places the stars with the game's random numbers: x, then y, for each star.
  ThNight();

  ALLEGRO_COLOR skyTop() const override;
  ALLEGRO_COLOR skyBottom() const override;
  ALLEGRO_COLOR cloudTint() const override;
  void beforeEntities() override;
  void afterEntities() override;
  const char* name() const override { return "Night"; }
  bool cloudBehind() override { return true; }
  int requiredPoints() const override { return 18; }

  std::array<Star, kStarCount> stars;
};
