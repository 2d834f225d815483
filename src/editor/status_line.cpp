#include "editor/status_line.h"

#include <utility>

#include "app/blend.h"

namespace {

constexpr float kTop = 581.0f;     // px: the strip covers the lowest row of cells
constexpr float kBottom = 600.0f;  // px
constexpr float kTextY = 584.0f;   // px
constexpr float kLeft = 5.0f;      // px
constexpr float kRight = 795.0f;   // px

}  // namespace

StatusLine::StatusLine(std::string file) : fileName(std::move(file)) {}

void StatusLine::hold(const std::string& message) {
  text = message;
  held = true;
}

void StatusLine::show(const std::string& message) {
  text = message;
  held = false;
  secondsLeft = kShowSeconds;
}

void StatusLine::update(double dt) {
  if (held || text.empty()) return;
  secondsLeft -= dt;
  if (secondsLeft <= 0) text.clear();
}

void StatusLine::draw(ALLEGRO_FONT* font, bool dirty) const {
  setBlendColour(al_map_rgba(255, 255, 255, 160));
  drawFilledRectangle(0, kTop, kRight + kLeft, kBottom, al_map_rgb(0, 0, 0));
  setBlendColour(al_map_rgb(255, 255, 255));
  drawText(font, kLeft, kTextY, 0, text);
  setBlendColour(al_map_rgb(255, 255, 0));
  drawText(font, kRight, kTextY, 2, fileLabel(dirty));
  resetBlender();
}
