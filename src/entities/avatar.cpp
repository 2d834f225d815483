#include "entities/avatar.h"

#include <algorithm>

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "app/sound.h"
#include "entities/animation.h"
#include "entities/carryable.h"
#include "entities/container.h"
#include "entities/particle.h"
#include "world/draw_layer.h"
#include "world/play_context.h"
#include "world/tag.h"

namespace {

constexpr double kStartX = 400.0;              // px
constexpr double kWalkSpeed = 200.0;           // px/s, on the ground
constexpr double kAirAcceleration = 1200.0;    // px/s^2 while left or right is held
constexpr double kAirSpeedLimit = 200.0;       // px/s
constexpr double kFallSpeedLimit = 400.0;      // px/s
constexpr double kJumpSpeed = -270.0;          // px/s
constexpr double kCarryingJumpSpeed = -100.0;  // px/s
constexpr double kWalkingJumpSpeed = 150.0;    // px/s, horizontal, along the facing
constexpr double kDoubleJumpFactor = 0.6;      // of the jump speed
constexpr double kLedgeSpeed = 30.0;           // px/s on walking off a ledge
constexpr double kDeathLine = kScreenHeight;   // px; a top edge below it has fallen off
constexpr double kCrushDepth = 12.0;           // px; a deeper push-out kills
constexpr double kWalkFramesPerSecond = 8.0;
constexpr int kWalkFrameCount = 6;
constexpr double kCarryHeight = 20.0;                   // px above the avatar's y
constexpr double kCrouchingCarryHeight = 15.0;          // px
constexpr double kPickUpPointY = 10.0;                  // px from y
constexpr double kPickUpPointsX[] = {10.0, 18.0, 2.0};  // px from x, tested in this order

constexpr float kJumpGain = 0.65f;
constexpr float kDoubleJumpSpeed = 1.2f;  // playback speed
constexpr float kLandGain = 1.1f;
constexpr float kFootstepGain = 0.9f;

// Sheet frames: walking 0 to 5, then these; carrying (or completed) adds kCarryingFrames.
constexpr int kStandingFrame = 2;
constexpr int kCrouchingFrame = 6;
constexpr int kInAirFrame = 7;
constexpr int kCarryingFrames = 9;

struct ThrowVelocity {
  double vx;  // px/s along the facing
  double vy;  // px/s
};
constexpr ThrowVelocity kWalkingThrow = {300.0, -140.0};
constexpr ThrowVelocity kSteepThrow = {100.0, -240.0};  // standing with up held
constexpr ThrowVelocity kFlatThrow = {200.0, -100.0};   // standing, or in the air

const char* const kFellReason = "fell of the face of the world";
const char* const kCrushedReason = "were crushed by a hunk of wall";

}  // namespace

Avatar::Avatar()
    : Body({tagOf("entt"), tagOf("rndr"), tagOf("dyna"), kTag, tagOf("prss")}, DrawLayer::Avatar, kFallSpeedLimit),
      sheet(sheetResource("media/guysheet.png")),
      jumpSound(sampleResource("media/jump.wav")),
      dieSound(sampleResource("media/die.wav")),
      landSound(sampleResource("media/land.wav")),
      throwSound(sampleResource("media/throw.wav")) {
  setPosition(kStartX, 0.0);
}

Avatar::~Avatar() {
  if (world) world->removeRemovalListener(this);
}

Box Avatar::box() const { return Box{xPos + 1, yPos + 2, xPos + 19, yPos + 20}; }

void Avatar::entityRemoved(Entity* e) {
  if (e == carried) carried = nullptr;
}

// The steps run in this order; each branch sees the state left by the branches before it.
void Avatar::update(double dt) {
  if (world) world->addRemovalListener(this);
  double newClock = animClock + dt;
  if (outcome_.status == Outcome::Playing) playContext().elapsedTime += dt;
  resolveTiles();
  if (yPos > kDeathLine) {
    die(kFellReason);
    return;
  }
  if (state != InAir) checkGround();
  if (state == InAir) updateInAir(dt);
  if (state == Crouching) updateCrouching();
  if (state == Standing) updateStanding();
  if (state == Walking) updateWalking(dt);
  resolveTiles();
  placeCarried();
  checkCompletion();
  animClock = newClock;
}

// A floor hit while rising pushes the avatar up without landing it.
bool Avatar::touchTile(const TileContact& contact) {
  // An invincible avatar is pushed out of a closing wall as out of any other.
  if (contact.depth > kCrushDepth && !playContext().invincible) {
    die(kCrushedReason);
    return false;
  }
  if (contact.direction == TileContact::LeftWall || contact.direction == TileContact::RightWall) {
    vx = 0.0;
  } else if (contact.direction == TileContact::Ceiling) {
    if (vy < 0) vy = 0.0;
  } else if (state == InAir && vy >= 0) {
    state = Standing;
    playSound(landSound, kLandGain);
  }
  return true;
}

void Avatar::checkGround() {
  if (groundUnder(kFeetX[0])) return;
  vx = state == Walking ? (facingRight ? kLedgeSpeed : -kLedgeSpeed) : 0.0;
  vy = 0.0;
  state = InAir;
}

const PlayControls& Avatar::controls() const { return playContext().controls; }

int Avatar::horizontalInput() const {
  bool left = controls().left->isDown();
  bool right = controls().right->isDown();
  return left == right ? 0 : (left ? -1 : 1);
}

double Avatar::jumpSpeed() const { return carried ? kCarryingJumpSpeed : kJumpSpeed; }

void Avatar::updateInAir(double dt) {
  int direction = horizontalInput();
  if (direction < 0) vx -= kAirAcceleration * dt;
  if (direction > 0) vx += kAirAcceleration * dt;
  vx = std::clamp(vx, -kAirSpeedLimit, kAirSpeedLimit);
  if (vx < 0) facingRight = false;
  if (vx > 0) facingRight = true;
  fly(dt);
  if (controls().action->isDown()) throwCarried();
  if (controls().jump->isDown() && canDoubleJump) {
    playSound(jumpSound, kJumpGain, kDoubleJumpSpeed);
    playContext().doubleJumps += 1;
    vy = kDoubleJumpFactor * jumpSpeed();
    canDoubleJump = false;
  }
}

void Avatar::updateCrouching() {
  if (!controls().down->isDown()) state = Standing;
  if (!controls().action->isDown()) return;
  if (carried) {
    putDown();
  } else {
    pickUp();
  }
}

void Avatar::updateStanding() {
  canDoubleJump = true;
  int direction = horizontalInput();
  if (direction != 0) {
    facingRight = direction > 0;
    walkFrame = 0;
    state = Walking;
  }
  if (controls().down->isDown()) state = Crouching;
  if (controls().jump->isDown()) {
    playContext().jumps += 1;
    state = InAir;
    vx = 0.0;
    vy = jumpSpeed();
    playSound(jumpSound, kJumpGain);
  }
  if (controls().action->isDown()) throwCarried();
}

void Avatar::updateWalking(double dt) {
  canDoubleJump = true;
  int direction = horizontalInput();
  if (direction == 0) {
    state = Standing;
  } else {
    advanceWalkAnimation(dt);
    facingRight = direction > 0;
    if (direction < 0) xPos -= kWalkSpeed * dt;
    if (direction > 0) xPos += kWalkSpeed * dt;
    playContext().pixelsTraversed += kWalkSpeed * dt;
  }
  if (controls().jump->isDown()) {
    playContext().jumps += 1;
    state = InAir;
    vx = facingRight ? kWalkingJumpSpeed : -kWalkingJumpSpeed;
    vy = jumpSpeed();
    playSound(jumpSound, kJumpGain);
  }
  if (controls().action->isDown()) throwCarried();
}

void Avatar::advanceWalkAnimation(double dt) {
  int ticks = animationTicks(animClock, dt, kWalkFramesPerSecond);
  for (int i = 0; i < ticks; ++i) {
    walkFrame = (walkFrame + 1) % kWalkFrameCount;
    if (walkFrame % 2 == 1) playSound(landSound, kFootstepGain);
  }
}

void Avatar::placeCarried() {
  if (!carried) return;
  carried->setX(xPos);
  carried->setY(yPos - (state == Crouching ? kCrouchingCarryHeight : kCarryHeight));
}

void Avatar::pickUp() {
  for (Carryable& carryable : world->all<Carryable>()) {
    Box box = carryable.box();
    bool under = false;
    for (double pointX : kPickUpPointsX) under = under || box.contains(xPos + pointX, yPos + kPickUpPointY);
    if (!under || carryable.carryState != Carryable::Resting) continue;
    carryable.pickUp(this);
    carried = &carryable;
    return;
  }
}

void Avatar::putDown() {
  if (!carried) return;
  Carryable* object = carried;
  carried = nullptr;
  object->putDown();
}

// Down and X together while standing reach here in the crouching state, which has no throw:
// the object is put down, so it is never left marked as carried by an empty-handed avatar.
void Avatar::throwCarried() {
  if (!carried) return;
  if (state == Crouching) {
    putDown();
    return;
  }
  playSound(throwSound, 1.0f);
  playContext().throws += 1;
  ThrowVelocity velocity = kFlatThrow;
  if (state == Walking) velocity = kWalkingThrow;
  if (state == Standing && controls().up->isDown()) velocity = kSteepThrow;
  Carryable* object = carried;
  carried = nullptr;
  object->throwAt(facingRight ? velocity.vx : -velocity.vx, velocity.vy);
}

void Avatar::die(const std::string& reason) {
  if (outcome_.status != Outcome::Playing) return;
  playSound(dieSound, 1.0f);
  if (PlayerRecord* player = playContext().player) player->countDeath();
  spawnPuffs(*world, xPos, yPos);
  outcome_.status = Outcome::Dead;
  outcome_.reason = reason;
}

void Avatar::hurt(const std::string& reason) {
  if (!playContext().invincible) die(reason);
}

void Avatar::complete() {
  if (outcome_.status != Outcome::Playing) return;
  outcome_.status = Outcome::Completed;
  outcome_.reason.clear();
}

// Runs at the end of every update, carrying or not: a level whose containers are all full is
// complete; one without containers never is.
void Avatar::checkCompletion() {
  EntitiesOf<Container> containers = world->all<Container>();
  if (containers.empty()) return;
  for (const Container& container : containers) {
    if (container.remaining != 0) return;
  }
  complete();
}

void Avatar::draw() {
  if (outcome_.status == Outcome::Dead) return;
  int frame = kStandingFrame;
  if (state == Walking) frame = walkFrame;
  if (state == InAir) frame = kInAirFrame;
  if (state == Crouching) frame = kCrouchingFrame;
  if (carried || outcome_.status == Outcome::Completed) frame += kCarryingFrames;
  drawBitmap(sheet->frame(frame), static_cast<float>(xPos), static_cast<float>(yPos),
             facingRight ? ALLEGRO_FLIP_HORIZONTAL : 0);
}
