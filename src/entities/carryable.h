#pragma once

#include <allegro5/allegro_audio.h>

#include "entities/body.h"
#include "world/tag.h"

class Avatar;

// An object the avatar can pick up, carry and throw (bags and baddies). Each kind moves itself
// in its own update; while carried, the carrying avatar places it every frame.
// Invariant: carrier is set exactly while carryState is Carried.
class Carryable : public Body {
 public:
  static constexpr int kTag = tagOf("carr");
  enum CarryState { Resting = 0, Free = 1, Carried = 2 };

  Carryable(const TagList& tags, int drawLayer);

  virtual void pickUp(Avatar* avatar);
  virtual void putDown();
  virtual void throwAt(double vx, double vy);

  int carryState = Resting;
  Avatar* carrier = nullptr;

 protected:
  // A carried object is let go at any contact, walls and ceilings stop it dead, a floor lands
  // it when it is free and not rising. Every overlap is pushed out; there is no crushing.
  bool touchTile(const TileContact& contact) override;
  virtual void stopAgainst(int direction);
  virtual void land();

  ALLEGRO_SAMPLE* landSound;
};
