#pragma once

#include "themes/theme.h"

// The default sky with the level drawn at a fixed tilt.
class ThCrooked : public Theme {
 public:
  void beforeEntities() override;
  void afterEntities() override;
  const char* name() const override { return "Crooked"; }
  int requiredPoints() const override { return 24; }
};
