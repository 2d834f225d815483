#pragma once

#include <allegro5/allegro_audio.h>

#include "app/sheet.h"
#include "world/entity.h"

// A switch held down by the avatar, a bag or a baddie standing on it: its channel is the
// resting value while empty and the opposite while pressed.
class PressPad : public Entity {
 public:
  PressPad(int channel, bool restingOn);

  Box box() const override;
  void update(double dt) override;
  void draw() override;

  int channel;
  bool restingOn;
  bool pressed = false;
  bool wasPressed = false;

 private:
  bool weighedDownBy(const Entity& entity) const;

  Sheet* sheet;
  ALLEGRO_SAMPLE* switchSound;
};
