#pragma once

#include <allegro5/allegro_audio.h>

#include "app/sheet.h"
#include "entities/carryable.h"

class Avatar;

// A small creature that patrols the ground, turning at walls and ledges, and can be carried
// and thrown like a bag. A tame one shoves resting bags ahead of it; a feral one kills the
// avatar on touch and destroys every bag it touches.
class Baddie : public Carryable {
 public:
  explicit Baddie(bool feral);

  Box box() const override;
  void update(double dt) override;
  void draw() override;

  bool feral;
  bool walkingRight = false;
  int animFrame = 0;
  double animClock = 0.0;

 protected:
  void stopAgainst(int direction) override;
  void land() override;

 private:
  void animate(double dt);
  void walk(double dt);
  void attack();
  void eatBag(Carryable& bag);
  void shoveBags(double dt);

  Sheet* sheet;
  ALLEGRO_SAMPLE* dieSound;
};
