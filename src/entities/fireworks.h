#pragma once

#include <allegro5/allegro_audio.h>

#include "world/entity.h"

// An invisible emitter placed in a level: now and then a bang and a ring of glowing sparks.
class Fireworks : public Entity {
 public:
  Fireworks();

  void update(double dt) override;

 private:
  ALLEGRO_SAMPLE* burstSound;
};
