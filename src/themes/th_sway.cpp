#include "themes/th_sway.h"

#include <allegro5/allegro_opengl.h>

#include <cmath>

namespace {
constexpr double kBob = 10.0;       // px, half the vertical travel
constexpr double kRock = 5.625;     // degrees at the widest
constexpr double kRockRate = 0.25;  // of the bobbing rate
}  // namespace

void ThSway::beforeEntities() {
  glPushMatrix();
  glTranslatef(0, static_cast<float>(std::sin(clock) * kBob - kBob), 0);
  glRotatef(static_cast<float>(std::sin(clock * kRockRate) * kRock), 0, 0, 1);
}

void ThSway::afterEntities() { glPopMatrix(); }
