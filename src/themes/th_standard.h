#pragma once

#include "themes/theme.h"

// The plain day sky: every default of Theme.
class ThStandard : public Theme {
 public:
  const char* name() const override;
};
