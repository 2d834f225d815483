#pragma once

#include <allegro5/allegro_audio.h>

#include "app/sheet.h"
#include "world/entity.h"

// A switch held down by the avatar, a bag or a baddie standing on it: its channel is the
// resting value while empty and the opposite while pressed.
class PressPad : public Entity {
 public:
  PressPad(int channel, bool restingOn);

  const char* typeCode() const override { return "pr"; }
  const int* tags() const override;
  int order(int tag) const override;
  Box box() const override;
  void update(double dt) override;
  void draw() override;
  void write(FILE* file) const override;
  void read(FILE* file) override;
  Entity* create() const override { return new PressPad(channel, restingOn); }
  std::string editorLabel() const override;
  std::string recordProblem() const override;

  int channel;
  bool restingOn;
  bool pressed = false;
  bool wasPressed = false;

 private:
  bool weighedDownBy(const Entity& entity) const;

  Sheet* sheet;
  ALLEGRO_SAMPLE* switchSound;
};
