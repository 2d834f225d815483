#include "states/gui_text.h"

#include "app/blend.h"
#include "app/resource.h"
#include "world/draw_layer.h"
#include "world/tag.h"

GuiText::GuiText(double x, double y, const std::string& text_) : text(text_), font(fontResource("media/font.ttf")) {
  setPosition(x, y);
}

const int* GuiText::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), 0};
  return list;
}

int GuiText::order(int tag) const { return tag == tagOf("rndr") ? DrawLayer::Texts : Entity::order(tag); }

void GuiText::draw() {
  setBlendColour(al_map_rgb(0, 0, 0));
  drawText(font, x() + 1, y() + 1, ALLEGRO_ALIGN_CENTRE, text);
  resetBlender();
  drawText(font, x(), y(), ALLEGRO_ALIGN_CENTRE, text);
}
