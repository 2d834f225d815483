#include "app/held_text.h"

#include <algorithm>

namespace {
constexpr float kMargin = 2.0f;  // px around the glyphs' bounding box
}

// The box is wide enough for any alignment: centred and right-aligned text starts up to its
// whole width left of x.
void HeldText::hold(const Line& line) {
  int boxX, boxY, boxWidth, boxHeight;
  al_get_text_dimensions(line.font, line.text.c_str(), &boxX, &boxY, &boxWidth, &boxHeight);
  float width = static_cast<float>(al_get_text_width(line.font, line.text.c_str()));
  boxes_.push_back(Box{line.x + boxX - width - kMargin, line.y + boxY - kMargin, line.x + boxX + boxWidth + kMargin,
                       line.y + boxY + boxHeight + kMargin});
  lines_.push_back(line);
}

bool HeldText::overlaps(float x1, float y1, float x2, float y2) const {
  float left = std::min(x1, x2), right = std::max(x1, x2);
  float top = std::min(y1, y2), bottom = std::max(y1, y2);
  return std::any_of(boxes_.begin(), boxes_.end(), [&](const Box& box) {
    return left < box.right && box.left < right && top < box.bottom && box.top < bottom;
  });
}

std::vector<HeldText::Line> HeldText::take() {
  boxes_.clear();
  std::vector<Line> lines;
  lines.swap(lines_);
  return lines;
}
