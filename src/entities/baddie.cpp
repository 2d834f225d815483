#include "entities/baddie.h"

#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "entities/animation.h"
#include "entities/avatar.h"
#include "entities/bag.h"
#include "entities/particle.h"
#include "entities/tile_collision.h"
#include "world/draw_layer.h"
#include "world/world.h"

namespace {

constexpr double kWalkSpeed = 70;     // px/s
constexpr double kAnimationRate = 8;  // frame changes per second
constexpr double kShoveOffset = 18;   // px between a shoved bag's x and the baddie's
constexpr double kLeadingFootX = 19;  // px from x, walking right
constexpr double kTrailingFootX = 1;  // px from x, walking left
constexpr float kDieGain = 1.0f;
const char* const kSnackReason = "have become a snack for a feral baddie.";

}  // namespace

Baddie::Baddie(bool isFeral)
    : Carryable({tagOf("entt"), tagOf("rndr"), tagOf("dyna"), tagOf("badd"), Carryable::kTag, tagOf("prss")},
                DrawLayer::Baddies),
      feral(isFeral) {
  getResource(sheet, "media/badsheet.png");
  getResource(dieSound, "media/die.wav");
}

Box Baddie::box() const { return Box{x() + 2, y() + 7, x() + 17, y() + 20}; }

void Baddie::update(double dt) {
  animate(dt);
  resolveTiles();
  if (carryState == Resting) walk(dt);
  if (carryState == Free) {
    walkingRight = vx >= 0;
    fly(dt);
  }
  if (feral) {
    attack();
  } else if (carryState == Resting) {
    shoveBags(dt);
  }
}

void Baddie::draw() {
  drawBitmap(sheet->frame((feral ? 2 : 0) + animFrame), static_cast<float>(x()), static_cast<float>(y()), 0);
}

void Baddie::stopAgainst(int direction) {
  Carryable::stopAgainst(direction);
  bool wall = direction == TileContact::LeftWall || direction == TileContact::RightWall;
  if (wall && carryState == Resting) walkingRight = !walkingRight;
}

void Baddie::land() {
  Carryable::land();
  walkingRight = vx >= 0;
}

void Baddie::animate(double dt) {
  animFrame = (animFrame + animationTicks(animClock, dt, kAnimationRate)) % 2;
  animClock += dt;
}

// Losing the ground under its middle makes it fall, but this frame's step is still taken;
// otherwise it turns back where its leading foot would leave the ground.
void Baddie::walk(double dt) {
  if (!groundUnder(kFeetX[0])) {
    vx = walkingRight ? kWalkSpeed : -kWalkSpeed;
    vy = 0;
    carryState = Free;
  }
  if (walkingRight) {
    setX(x() + kWalkSpeed * dt);
    if (!groundUnder(kLeadingFootX)) walkingRight = !walkingRight;
  } else {
    setX(x() - kWalkSpeed * dt);
    if (!groundUnder(kTrailingFootX)) walkingRight = !walkingRight;
  }
}

// Without an avatar (a level made only to watch the objects) there is no one to bite.
void Baddie::attack() {
  Avatar* avatar = world->first<Avatar>();
  if (avatar && avatar->box().overlaps(box())) avatar->hurt(kSnackReason);
  for (Bag& bag : world->all<Bag>()) {
    if (bag.box().overlaps(box())) eatBag(bag);
  }
}

// A bag can be eaten while carried: the avatar lets go first, so it never holds an object
// that the world is about to delete.
void Baddie::eatBag(Carryable& bag) {
  playSound(dieSound, kDieGain);
  spawnPuffs(*world, bag.x(), bag.y());
  if (bag.carrier) bag.carrier->putDown();
  bag.kill();
}

void Baddie::shoveBags(double dt) {
  double step = walkingRight ? kWalkSpeed * dt : -kWalkSpeed * dt;
  double ahead = walkingRight ? kShoveOffset : -kShoveOffset;
  for (Bag& bag : world->all<Bag>()) {
    if (bag.carryState != Resting || !bag.box().overlaps(box())) continue;
    bag.setX(bag.x() + step);
    if (bag.box().overlaps(box())) bag.setX(x() + ahead);
  }
}
