#include "themes/th_crooked.h"

#include <cmath>

#include "app/blend.h"

namespace {
constexpr float kLift = 20.0f;                // px
constexpr float kTilt = 5.625f * M_PI / 180;  // radians, about the screen's top-left corner
}  // namespace

// The tilt goes through the library's transform rather than the GL matrix: the library loads
// its own transform into GL whenever it draws a bitmap, which would drop a GL-only tilt at the
// first sprite. In GL terms this is translate (0, -20) then rotate by 5.625 degrees.
void ThCrooked::beforeEntities() {
  al_copy_transform(&outside_, al_get_current_transform());
  ALLEGRO_TRANSFORM tilted;
  al_identity_transform(&tilted);
  al_rotate_transform(&tilted, kTilt);
  al_translate_transform(&tilted, 0, -kLift);
  al_compose_transform(&tilted, &outside_);
  useTransform(tilted);
}

// Putting back the transform from before undoes the tilt exactly; undoing the translation and
// then the rotation would leave a shift of about two pixels that grows every frame.
void ThCrooked::afterEntities() { useTransform(outside_); }
