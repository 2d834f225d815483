#pragma once

#include <allegro5/allegro_audio.h>

#include "world/entity.h"

class Avatar;

// An object the avatar can pick up, carry and throw (bags and baddies). Each kind moves itself
// in its own update; while carried, the carrying avatar places it every frame.
// Invariant: carrier is set exactly while carryState is Carried.
class Carryable : public Entity {
 public:
  enum CarryState { Resting = 0, Free = 1, Carried = 2 };

  Carryable();

  virtual void pickUp(Avatar* avatar);
  virtual void putDown();
  virtual void throwAt(double vx, double vy);

  int carryState = Resting;
  Avatar* carrier = nullptr;
  double vx = 0.0;
  double vy = 0.0;

 protected:
  // The shared tile contacts: a carried object is let go at any contact, walls and ceilings
  // stop it dead, a floor lands it when it is free and not rising. Every overlap is pushed
  // out; there is no crushing.
  void resolveTiles();
  // Free flight: gravity with a speed limit, then the move.
  void fly(double dt);
  virtual void stopAgainst(int direction);
  virtual void land();

  ALLEGRO_SAMPLE* landSound;
};
