#include "gui/run_timer.h"

#include <allegro5/allegro_font.h>

#include <string>

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "world/world.h"

namespace {

constexpr float kLineY = 8.0f;  // px from the top
const ALLEGRO_COLOR kWhite = {1.0f, 1.0f, 1.0f, 1.0f};
const ALLEGRO_COLOR kSilver = {0.66f, 0.70f, 0.78f, 1.0f};
const ALLEGRO_COLOR kShadow = {0.0f, 0.0f, 0.0f, 1.0f};

// Centred at the top, over a shadow so it reads on any sky.
void drawTopLine(const std::string& text, ALLEGRO_COLOR colour) {
  ALLEGRO_FONT* font = fontResource();
  float centre = kScreenWidth / 2.0f;
  setBlendColour(kShadow);
  drawText(font, centre + 1, kLineY + 1, ALLEGRO_ALIGN_CENTRE, text);
  setBlendColour(colour);
  drawText(font, centre, kLineY, ALLEGRO_ALIGN_CENTRE, text);
  resetBlender();
}

}  // namespace

void drawRunTimer(double elapsed, double target) {
  drawTopLine(format("%.2fs / %.2fs", elapsed, target), elapsed >= target ? kSilver : kWhite);
}

void drawReplayMark(double elapsed, int speed) {
  drawTopLine(format("REPLAY %.2fs x%d   1, 2 - speed   P - pause   ESC - back", elapsed, speed), kWhite);
}
