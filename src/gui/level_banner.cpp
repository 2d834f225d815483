#include "gui/level_banner.h"

#include <algorithm>

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"

namespace {

constexpr double kBandHeight = 28.0;    // px
constexpr double kBandPadding = 24.0;   // px left and right of the name
constexpr double kBandFromEdge = 70.0;  // px between the band and the top or bottom edge
constexpr double kTextRaise = 7.0;      // px from the band's top to the text's
constexpr float kBandOpacity = 0.7f;

}  // namespace

LevelBanner::LevelBanner(const std::string& name, double avatarY) : name_(name), font_(fontResource("media/font.ttf")) {
  double width = al_get_text_width(font_, name_.c_str()) + 2 * kBandPadding;
  bool avatarAbove = avatarY >= 0 && avatarY < kScreenHeight / 2;
  double top = avatarAbove ? kScreenHeight - kBandFromEdge - kBandHeight : kBandFromEdge;
  band_ = Box{kScreenWidth / 2 - width / 2, top, kScreenWidth / 2 + width / 2, top + kBandHeight};
}

void LevelBanner::update(double dt) { age_ += dt; }

double LevelBanner::opacity() const { return std::clamp((kShownFor - age_) / kFadeFor, 0.0, 1.0); }

void LevelBanner::draw() const {
  if (over()) return;
  float shown = static_cast<float>(opacity());
  drawFilledRectangle(band_.left, band_.top, band_.right, band_.bottom, al_map_rgba_f(0, 0, 0, kBandOpacity * shown));
  setBlendColour(al_map_rgba_f(1, 1, 1, shown));
  drawText(font_, kScreenWidth / 2, band_.top + kTextRaise, ALLEGRO_ALIGN_CENTRE, name_);
  resetBlender();
}
