#include "entities/body.h"

#include <algorithm>

#include "world/level.h"
#include "world/play_context.h"

namespace {

constexpr double kGravity = 600.0;      // px/s^2, the same for every body
constexpr int kMaxPushOuts = 20;        // per resolution
constexpr double kGroundProbeY = 21.0;  // px below the top edge: one below the feet

}  // namespace

void Body::fly(double dt) {
  vy = std::min(vy + kGravity * dt, fallSpeedLimit_);
  setPosition(x() + vx * dt, y() + vy * dt);
}

bool Body::groundUnder(double offsetX) const {
  return playContext().grid->solidTileAt(x() + offsetX, y() + kGroundProbeY) != nullptr;
}

void Body::resolveTiles() {
  TileContact contact = probeTiles(*this);
  for (int i = 0; i < kMaxPushOuts && contact.direction != TileContact::None; ++i) {
    if (!touchTile(contact)) return;
    pushOut(*this, contact);
    contact = probeTiles(*this);
  }
}
