#pragma once

#include <allegro5/allegro_font.h>

#include <string>

#include "world/draw_layer.h"
#include "world/entity.h"

// A line of shadowed white text centred on (x, y) (its top edge), on a band that keeps it
// readable over any scene.
class GuiText : public Entity {
 public:
  // Among the widgets of a menu the default layer; over a level, a text that must stay in front
  // of the clouds and fireworks passing in front of the level takes DrawLayer::Widgets.
  GuiText(double x, double y, const std::string& text, int drawLayer = DrawLayer::Texts);

  void draw() override;

  std::string text;

 private:
  ALLEGRO_FONT* font;
};
