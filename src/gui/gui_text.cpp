#include "gui/gui_text.h"

#include "app/blend.h"
#include "app/resource.h"
#include "world/draw_layer.h"
#include "world/tag.h"

GuiText::GuiText(double x, double y, const std::string& text_)
    : Entity({tagOf("entt"), tagOf("rndr")}, DrawLayer::Texts), text(text_), font(fontResource("media/font.ttf")) {
  setPosition(x, y);
}

void GuiText::draw() {
  setBlendColour(al_map_rgb(0, 0, 0));
  drawText(font, x() + 1, y() + 1, ALLEGRO_ALIGN_CENTRE, text);
  resetBlender();
  drawText(font, x(), y(), ALLEGRO_ALIGN_CENTRE, text);
}
