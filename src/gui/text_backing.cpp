#include "gui/text_backing.h"

#include <algorithm>

#include "app/blend.h"

namespace {

constexpr float kBackingOpacity = 0.63f;
constexpr double kSideMargin = 4.0;    // px left and right of the text
constexpr double kTopMargin = 2.0;     // px above and below the text
constexpr double kShadowOffset = 1.0;  // px: a shadow drawn right of and below the text stays on the band

}  // namespace

Box textBacking(ALLEGRO_FONT* font, double x, double y, int alignment, const std::string& text) {
  double width = font ? al_get_text_width(font, text.c_str()) : 0;
  double height = font ? al_get_font_line_height(font) : 0;
  double left = alignment == ALLEGRO_ALIGN_CENTRE ? x - width / 2 : alignment == ALLEGRO_ALIGN_RIGHT ? x - width : x;
  return Box{left - kSideMargin, y - kTopMargin, left + width + kShadowOffset + kSideMargin,
             y + height + kShadowOffset + kTopMargin};
}

Box boxAround(const Box& a, const Box& b) {
  return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
             std::max(a.bottom, b.bottom)};
}

void drawBacking(const Box& band) {
  drawFilledRectangle(band.left, band.top, band.right, band.bottom, al_map_rgba_f(0, 0, 0, kBackingOpacity));
}
