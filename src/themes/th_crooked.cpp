#include "themes/th_crooked.h"

#include <allegro5/allegro_opengl.h>

namespace {
constexpr float kLift = 20.0f;     // px
constexpr float kTilt = 5.625f;    // degrees, about the screen's top-left corner
}  // namespace

void ThCrooked::beforeEntities() {
  glTranslatef(0, -kLift, 0);
  glRotatef(kTilt, 0, 0, 1);
}

// Undone in the reverse order: undoing the translation first would leave a shift of about
// two pixels per frame, which nothing resets between frames, so the picture would creep away.
void ThCrooked::afterEntities() {
  glRotatef(-kTilt, 0, 0, 1);
  glTranslatef(0, kLift, 0);
}
