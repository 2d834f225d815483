#include "entities/lever.h"

#include "app/blend.h"
#include "app/resource.h"
#include "app/sound.h"
#include "entities/avatar.h"
#include "entities/bag.h"
#include "world/draw_layer.h"
#include "world/play_context.h"

Lever::Lever(int switchChannel, bool startsOn)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")}, DrawLayer::Levers), channel(switchChannel), on(startsOn) {
  getResource(sheet, "media/tilesheet.png");
  getResource(switchSound, "media/switch.wav");
}

// The avatar first, then the bags; a level without an avatar is worked by its bags alone.
void Lever::update(double) {
  world->addRemovalListener(this);
  if (Avatar* avatar = world->first<Avatar>()) touch(avatar);
  for (Bag& bag : world->all<Bag>()) touch(&bag);
  playContext().channelStates[channel] = on ? 1 : 0;
}

// One flip per arrival: while one entity holds the lever, nothing else flips it.
void Lever::touch(Entity* entity) {
  if (entity->box().contains(x() + 10, y() + 10)) {
    if (toucher) return;
    playSound(switchSound, 1.0f);
    toucher = entity;
    on = !on;
  } else if (toucher == entity) {
    toucher = nullptr;
  }
}

void Lever::entityRemoved(Entity* e) {
  if (toucher == e) toucher = nullptr;
}

void Lever::draw() { drawBitmap(sheet->frame(on ? 8 : 7), static_cast<float>(x()), static_cast<float>(y()), 0); }
