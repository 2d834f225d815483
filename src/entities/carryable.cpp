#include "entities/carryable.h"

#include <algorithm>

#include "app/resource.h"
#include "app/sound.h"
#include "entities/avatar.h"
#include "entities/tile_collision.h"

namespace {

constexpr int kMaxPushOuts = 20;
constexpr double kGravity = 600;    // px/s^2
constexpr double kFallLimit = 600;  // px/s
constexpr float kLandGain = 1.0f;

}  // namespace

Carryable::Carryable() { getResource(landSound, "media/land.wav"); }

void Carryable::pickUp(Avatar* avatar) {
  if (carryState != Resting) return;
  carryState = Carried;
  carrier = avatar;
}

// The velocity is kept: an object put down moves off with whatever it last had.
void Carryable::putDown() {
  carryState = Free;
  carrier = nullptr;
}

void Carryable::throwAt(double newVx, double newVy) {
  vx = newVx;
  vy = newVy;
  carryState = Free;
  carrier = nullptr;
}

void Carryable::resolveTiles() {
  TileContact contact = probeTiles(*this);
  for (int i = 0; i < kMaxPushOuts && contact.direction != TileContact::None; ++i) {
    // The avatar lets go through its own putDown, which comes back to ours.
    if (carrier) carrier->putDown();
    if (contact.direction == TileContact::Floor) {
      if (carryState == Free && vy >= 0) land();
    } else {
      stopAgainst(contact.direction);
    }
    pushOut(*this, contact);
    contact = probeTiles(*this);
  }
}

void Carryable::fly(double dt) {
  vy = std::min(vy + kGravity * dt, kFallLimit);
  setPosition(x() + vx * dt, y() + vy * dt);
}

void Carryable::stopAgainst(int) {
  vx = 0;
  vy = 0;
}

void Carryable::land() {
  carryState = Resting;
  playSound(landSound, kLandGain);
}
