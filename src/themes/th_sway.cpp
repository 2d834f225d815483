#include "themes/th_sway.h"

#include <cmath>

#include "app/blend.h"

namespace {
constexpr double kBob = 10.0;                 // px, half the vertical travel
constexpr double kRock = 5.625 * M_PI / 180;  // radians at the widest
constexpr double kRockRate = 0.25;            // of the bobbing rate
}  // namespace

// Through the library's transform for the reason given in ThCrooked. In GL terms: push the
// matrix, translate (0, sin(clock) * 10 - 10), rotate by sin(clock / 4) * 5.625 degrees.
void ThSway::beforeEntities() {
  al_copy_transform(&outside_, al_get_current_transform());
  ALLEGRO_TRANSFORM swaying;
  al_identity_transform(&swaying);
  al_rotate_transform(&swaying, static_cast<float>(std::sin(clock * kRockRate) * kRock));
  al_translate_transform(&swaying, 0, static_cast<float>(std::sin(clock) * kBob - kBob));
  al_compose_transform(&swaying, &outside_);
  useTransform(swaying);
}

void ThSway::afterEntities() { useTransform(outside_); }
