#include "entities/carryable.h"

#include "app/resource.h"
#include "app/sound.h"
#include "entities/avatar.h"

namespace {

constexpr double kFallSpeedLimit = 600;  // px/s
constexpr float kLandGain = 1.0f;

}  // namespace

Carryable::Carryable(const TagList& tags, int drawLayer) : Body(tags, drawLayer, kFallSpeedLimit) {
  getResource(landSound, "media/land.wav");
}

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

bool Carryable::touchTile(const TileContact& contact) {
  // The avatar lets go through its own putDown, which comes back to ours.
  if (carrier) carrier->putDown();
  if (contact.direction == TileContact::Floor) {
    if (carryState == Free && vy >= 0) land();
  } else {
    stopAgainst(contact.direction);
  }
  return true;
}

void Carryable::stopAgainst(int) {
  vx = 0;
  vy = 0;
}

void Carryable::land() {
  carryState = Resting;
  playSound(landSound, kLandGain);
}
