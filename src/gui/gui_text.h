#pragma once

#include <allegro5/allegro_font.h>

#include <string>

#include "world/entity.h"

// A line of shadowed white text centred on (x, y) (its top edge).
class GuiText : public Entity {
 public:
  GuiText(double x, double y, const std::string& text);

  void draw() override;

  std::string text;

 private:
  ALLEGRO_FONT* font;
};
