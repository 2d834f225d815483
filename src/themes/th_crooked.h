#pragma once

#include <allegro5/allegro.h>

#include "world/theme.h"

// The default sky with the level drawn at a fixed tilt.
class ThCrooked : public Theme {
 public:
  void beforeEntities() override;
  void afterEntities() override;
  const char* name() const override { return "Crooked"; }
  int requiredPoints() const override { return 24; }

 private:
  ALLEGRO_TRANSFORM outside_;  // the transform in use before the tilt, put back after it
};
