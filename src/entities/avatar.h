#pragma once

#include <allegro5/allegro_audio.h>

#include "app/sheet.h"
#include "entities/body.h"
#include "entities/outcome.h"
#include "world/world.h"

class Carryable;
struct PlayControls;

// The figure the player steers. Reads its level's six play controls, walks, jumps,
// double-jumps, falls, collides with solid tiles, carries and throws one carryable, and dies or
// completes the level once. It listens for removals so that it never holds a deleted object.
class Avatar : public Body, public World::RemovalListener {
 public:
  static constexpr int kTag = tagOf("avat");
  enum State { Standing = 0, Walking = 1, InAir = 2, Crouching = 3 };

  Avatar();
  ~Avatar() override;

  Box box() const override;
  void update(double dt) override;
  void draw() override;
  void entityRemoved(Entity* e) override;

  Outcome outcome() const { return outcome_; }
  // Only the first call while playing counts: sound, one death counted in the level's player
  // record (if it has one), 20 puffs.
  void die(const std::string& reason);
  // A death by a hazard, a feral baddie or a crushing wall, which invincibility prevents.
  void hurt(const std::string& reason);
  void complete();
  void putDown();
  void throwCarried();

  int state = Standing;
  bool facingRight = false;
  int walkFrame = 0;
  bool canDoubleJump = true;
  double animClock = 0.0;
  Carryable* carried = nullptr;

 protected:
  bool touchTile(const TileContact& contact) override;

 private:
  void checkGround();
  void updateInAir(double dt);
  void updateCrouching();
  void updateStanding();
  void updateWalking(double dt);
  void advanceWalkAnimation(double dt);
  void placeCarried();
  void checkCompletion();
  void pickUp();
  const PlayControls& controls() const;
  // -1 left alone, +1 right alone, 0 neither or both.
  int horizontalInput() const;
  // The vertical jump speed: weaker while carrying.
  double jumpSpeed() const;

  Sheet* sheet;
  ALLEGRO_SAMPLE* jumpSound;
  ALLEGRO_SAMPLE* dieSound;
  ALLEGRO_SAMPLE* landSound;
  ALLEGRO_SAMPLE* throwSound;
  Outcome outcome_;
};
