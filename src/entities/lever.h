#pragma once

#include <allegro5/allegro_audio.h>

#include "app/sheet.h"
#include "world/entity.h"
#include "world/world.h"

// A switch that flips its channel each time the avatar or a bag newly covers its centre. It
// listens for removals so that a toucher deleted while on it is forgotten and cannot block
// the lever for good.
class Lever : public Entity, public World::RemovalListener {
 public:
  Lever(int channel, bool on);

  void update(double dt) override;
  void draw() override;
  void entityRemoved(Entity* e) override;

  int channel;
  bool on;
  Entity* toucher = nullptr;

 private:
  void touch(Entity* entity);

  Sheet* sheet;
  ALLEGRO_SAMPLE* switchSound;
};
