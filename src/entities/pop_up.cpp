#include "entities/pop_up.h"

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "entities/text_wrap.h"
#include "world/draw_layer.h"
#include "world/tag.h"

namespace {

constexpr float kPanelEdge = 5.0f;                               // px from the top-left corner of the screen
constexpr float kPanelRight = 795.0f;                            // px
constexpr float kOutlineRight = 796.0f;                          // px
constexpr float kLineHeight = 18.0f;                             // px
constexpr float kPanelBottomMargin = 15.0f;                      // px below the top of the lines' block
constexpr float kTextTop = 12.0f;                                // px, top of the first line
constexpr float kLeftColumn = 12.0f;                             // px
constexpr float kRightColumn = kLeftColumn + PopUp::kTextWidth;  // px, right-aligned
constexpr double kColumnGap = 16.0;                              // px between a line's left and right texts
const char* const kHighlightMark = " ";
// Lines below the screen are never drawn: a text is wrapped no further than the screen's lines.
constexpr size_t kMostLinesShown = static_cast<size_t>((kScreenHeight - kTextTop) / kLineHeight) + 1;

}  // namespace

PopUp::PopUp() : Entity({tagOf("entt"), tagOf("rndr")}, DrawLayer::Widgets), font(fontResource("media/font.ttf")) {}

// A left text too wide for the panel goes on over more lines; the right text and the highlight
// stay with its first line, and the lines after it keep the highlight's colour.
void PopUp::addLine(const std::string& left, const std::string& right) {
  if (!font) {
    lines.emplace_back(left, right);
    return;
  }
  auto widthOf = [this](const std::string& text) { return static_cast<double>(al_get_text_width(font, text.c_str())); };
  bool rightColumn = !right.empty() && right != kHighlightMark;
  double width = kTextWidth - (rightColumn ? widthOf(right) + kColumnGap : 0.0);
  std::vector<std::string> wrapped = wrapText(left, width, widthOf, kMostLinesShown);
  for (size_t i = 0; i < wrapped.size(); ++i) lines.emplace_back(wrapped[i], i == 0 || !rightColumn ? right : "");
}

Box PopUp::panel() const {
  return Box{kPanelEdge, kPanelEdge, kOutlineRight, kLineHeight * lines.size() + kPanelBottomMargin};
}

void PopUp::draw() {
  if (!visible) return;
  float bottom = kLineHeight * lines.size() + kPanelBottomMargin;
  setBlendColour(al_map_rgba(255, 255, 255, 160));
  drawFilledRectangle(kPanelEdge, kPanelEdge, kPanelRight, bottom, al_map_rgb(0, 0, 0));
  setBlendColour(al_map_rgba(255, 255, 255, 192));
  drawRectangle(kPanelEdge, kPanelEdge, kOutlineRight, bottom, al_map_rgb(0, 0, 0), 2.0f);
  // A sign's text of thousands of lines runs off the screen: only what shows is drawn.
  for (size_t i = 0; i < lines.size() && kTextTop + kLineHeight * i < kScreenHeight; ++i) {
    const std::string& left = lines[i].first;
    const std::string& right = lines[i].second;
    float top = kTextTop + kLineHeight * i;
    setBlendColour(al_map_rgb(0, 0, 0));
    drawText(font, kLeftColumn, top + 1, ALLEGRO_ALIGN_LEFT, left);
    drawText(font, kRightColumn, top + 1, ALLEGRO_ALIGN_RIGHT, right);
    if (right == kHighlightMark) {
      setBlendColour(al_map_rgb(255, 255, 0));
      drawText(font, kLeftColumn, top, ALLEGRO_ALIGN_LEFT, left);
    } else {
      setBlendColour(al_map_rgb(255, 255, 255));
      drawText(font, kLeftColumn, top, ALLEGRO_ALIGN_LEFT, left);
      drawText(font, kRightColumn, top, ALLEGRO_ALIGN_RIGHT, right);
    }
  }
  // The line colours would tint whatever is drawn next; leave the default as every drawing does.
  resetBlender();
}
