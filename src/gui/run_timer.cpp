#include "gui/run_timer.h"

#include <allegro5/allegro_font.h>

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "world/world.h"

namespace {

constexpr float kLineY = 8.0f;           // px from the top
constexpr double kPadding = 6.0;         // px around the timer's text on its backing
constexpr double kTextHeight = 14.0;     // px
constexpr double kEdge = 4.0;            // px between the backing and the screen's edge
constexpr double kCharacterWidth = 8.0;  // px, a generous guess when there is no font
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

bool overlapsAny(const Box& place, const std::vector<Box>& covered) {
  for (const Box& box : covered) {
    if (place.left < box.right && box.left < place.right && place.top < box.bottom && box.top < place.bottom)
      return true;
  }
  return false;
}

}  // namespace

RunTimerLine runTimerLine(double elapsed, double target, const std::vector<Box>& covered) {
  RunTimerLine line{format("%.2fs / %.2fs", elapsed, target), elapsed >= target, Box{}};
  ALLEGRO_FONT* font = fontResource();
  double textWidth = font ? al_get_text_width(font, line.text.c_str()) : kCharacterWidth * line.text.size();
  double width = textWidth + 2 * kPadding, height = kTextHeight + 2 * kPadding;
  double centreLeft = (kScreenWidth - width) / 2, bottomTop = kScreenHeight - kEdge - height;
  const Box places[] = {{centreLeft, kEdge, centreLeft + width, kEdge + height},
                        {centreLeft, bottomTop, centreLeft + width, bottomTop + height},
                        {kEdge, bottomTop, kEdge + width, bottomTop + height}};
  line.place = places[2];
  for (const Box& place : places) {
    if (!overlapsAny(place, covered)) {
      line.place = place;
      break;
    }
  }
  return line;
}

void drawRunTimer(const RunTimerLine& line) {
  const Box& box = line.place;
  drawFilledRectangle(box.left, box.top, box.right, box.bottom, kRunTimerBacking);
  setBlendColour(line.pastTarget ? kRunTimerSilver : kRunTimerWhite);
  drawText(fontResource(), (box.left + box.right) / 2, box.top + kPadding, ALLEGRO_ALIGN_CENTRE, line.text);
  resetBlender();
}

// The pad has no speed buttons: a replay watched by pad plays at the speed last chosen.
std::string replayMarkText(double elapsed, int speed, InputDevice device) {
  const char* keys =
      device == InputDevice::Gamepad ? "START - pause   B - back" : "1, 2 - speed   P - pause   ESC - back";
  return format("REPLAY %.2fs x%d   %s", elapsed, speed, keys);
}

void drawReplayMark(const std::string& text) { drawTopLine(text, kRunTimerWhite); }
