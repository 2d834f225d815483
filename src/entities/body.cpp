#include "entities/body.h"

#include <algorithm>

namespace {

constexpr double kGravity = 600.0;  // px/s^2, the same for every body
constexpr int kMaxPushOuts = 20;    // per resolution

}  // namespace

void Body::fly(double dt) {
  vy = std::min(vy + kGravity * dt, fallSpeedLimit_);
  setPosition(x() + vx * dt, y() + vy * dt);
}

void Body::resolveTiles() {
  TileContact contact = probeTiles(*this);
  for (int i = 0; i < kMaxPushOuts && contact.direction != TileContact::None; ++i) {
    if (!touchTile(contact)) return;
    pushOut(*this, contact);
    contact = probeTiles(*this);
  }
}
