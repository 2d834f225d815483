#pragma once

#include <allegro5/allegro.h>

#include <string>

#include "world/entity.h"

// A short-lived sprite that moves in a straight line, gains or loses a fixed fraction of its
// speed per update (drag, not scaled by dt), fades out over its life and then kills itself.
class Particle : public Entity {
 public:
  // blendDest is the library's destination factor: ALLEGRO_ONE (additive glow) or
  // ALLEGRO_INVERSE_ALPHA (ordinary translucency).
  Particle(const std::string& imageFile, double x, double y, double vx, double vy, double life, double drag,
           int blendDest);

  void update(double dt) override;
  void draw() override;

  double vx;
  double vy;
  double life;
  double initialLife;
  double drag;
  int blendDest;

 private:
  ALLEGRO_BITMAP* image;
};

// The 20 grey puffs of a death or of a bag eaten by a feral baddie, around (x, y).
void spawnPuffs(World& world, double x, double y);

// A ring of additive glow particles flying out from around (x, y) at random angles with a
// speed between minSpeed and maxSpeed px/s, living 0.4 s (garbage picked up, fireworks).
void spawnGlowRing(World& world, double x, double y, int count, float minSpeed, float maxSpeed, double drag);
