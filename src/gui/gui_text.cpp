#include "gui/gui_text.h"

#include "app/blend.h"
#include "app/resource.h"
#include "gui/text_backing.h"
#include "world/draw_layer.h"
#include "world/tag.h"

GuiText::GuiText(double x, double y, const std::string& text_, int drawLayer)
    : Entity({tagOf("entt"), tagOf("rndr")}, drawLayer), text(text_), font(fontResource("media/font.ttf")) {
  setPosition(x, y);
}

void GuiText::draw() {
  if (text.empty()) return;
  drawBacking(textBacking(font, x(), y(), ALLEGRO_ALIGN_CENTRE, text));
  setBlendColour(al_map_rgb(0, 0, 0));
  drawText(font, x() + 1, y() + 1, ALLEGRO_ALIGN_CENTRE, text);
  resetBlender();
  drawText(font, x(), y(), ALLEGRO_ALIGN_CENTRE, text);
}
