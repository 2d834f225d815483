#include "editor/status_line.h"

#include <utility>

#include "app/blend.h"

namespace {

constexpr float kTop = 581.0f;       // px: the strip covers the lowest row of cells
constexpr float kBottom = 600.0f;    // px
constexpr float kTextY = 584.0f;     // px
constexpr float kLeft = 5.0f;        // px
constexpr float kRight = 795.0f;     // px
constexpr float kRowHeight = 18.0f;  // px: a second row goes above the first

}  // namespace

StatusLine::StatusLine(std::string file) : fileName(std::move(file)) {}

void StatusLine::hold(const std::string& message, const std::string& detail) {
  text = message;
  detailText = detail;
  held = true;
}

void StatusLine::show(const std::string& message, const std::string& detail) {
  text = message;
  detailText = detail;
  held = false;
  secondsLeft = kShowSeconds;
}

void StatusLine::update(double dt) {
  if (held || text.empty()) return;
  secondsLeft -= dt;
  if (secondsLeft > 0) return;
  text.clear();
  detailText.clear();
}

void StatusLine::draw(ALLEGRO_FONT* font, bool dirty) const {
  float rise = detailText.empty() ? 0.0f : kRowHeight;
  setBlendColour(al_map_rgba(255, 255, 255, 160));
  drawFilledRectangle(0, kTop - rise, kRight + kLeft, kBottom, al_map_rgb(0, 0, 0));
  setBlendColour(al_map_rgb(255, 255, 255));
  drawText(font, kLeft, kTextY - rise, 0, text);
  if (!detailText.empty()) drawText(font, kLeft, kTextY, 0, detailText);
  setBlendColour(al_map_rgb(255, 255, 0));
  drawText(font, kRight, kTextY, 2, fileLabel(dirty));
  resetBlender();
}
