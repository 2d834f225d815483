#include "entities/force_field.h"

#include "app/blend.h"
#include "entities/avatar.h"
#include "world/world.h"

ForceField::ForceField(bool isVertical) : vertical(isVertical) {}

const int* ForceField::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("dyna"), tagOf("posi"), 0};
  return list;
}

int ForceField::order(int tag) const { return tag == tagOf("rndr") ? 70 : 0; }

// The centre first, then the two ends; a level without an avatar has no one to burn.
void ForceField::update(double) {
  auto* avatar = static_cast<Avatar*>(world->first(tagOf("avat")));
  if (!avatar) return;
  Box target = avatar->box();
  double cx = x() + 10;
  double cy = y() + 10;
  bool hit = vertical ? target.contains(cx, cy) || target.contains(cx, y() + 20) || target.contains(cx, y())
                      : target.contains(cx, cy) || target.contains(x(), cy) || target.contains(x() + 20, cy);
  if (hit) avatar->die("got baked by a force field");
}

void ForceField::draw() {
  float left = static_cast<float>(x());
  float top = static_cast<float>(y());
  ALLEGRO_COLOR glow = al_map_rgba(255, 255, 0, 36);
  ALLEGRO_COLOR core = al_map_rgba(255, 255, 255, 128);
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgba(255, 255, 255, 255));
  if (vertical) {
    drawFilledRectangle(left + 8, top, left + 13, top + 20, glow);
    drawFilledRectangle(left + 10, top, left + 11, top + 20, core);
  } else {
    drawFilledRectangle(left, top + 8, left + 20, top + 13, glow);
    drawFilledRectangle(left, top + 10, left + 20, top + 11, core);
  }
  resetBlender();
}

void ForceField::write(FILE* file) const {
  Entity::write(file);
  std::fputc(vertical ? 1 : 0, file);
}

void ForceField::read(FILE* file) {
  Entity::read(file);
  vertical = std::fgetc(file) != 0;
}

std::string ForceField::editorLabel() const { return format("forcefield(%s)", vertical ? "v" : "h"); }
