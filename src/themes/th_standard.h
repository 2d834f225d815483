#pragma once

#include "world/theme.h"

// The plain day sky: every default of Theme.
class ThStandard : public Theme {
 public:
  const char* name() const override;
};
