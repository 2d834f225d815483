#pragma once

#include <allegro5/allegro_font.h>

#include <string>

#include "world/box.h"

// A level's name shown for a moment when the level starts, fading out. It sits on the half of
// the screen away from where the avatar starts, so the first moves are never hidden.
class LevelBanner {
 public:
  static constexpr double kShownFor = 2.0;  // s
  static constexpr double kFadeFor = 0.8;   // s, the end of the time shown

  // avatarY: where the avatar starts (px), or a negative value when the level has none.
  LevelBanner(const std::string& name, double avatarY);

  void update(double dt);
  void draw() const;
  bool over() const { return age_ >= kShownFor; }
  // 1 while fully shown, falling to 0 over the fade.
  double opacity() const;
  const Box& band() const { return band_; }

 private:
  std::string name_;
  ALLEGRO_FONT* font_;
  Box band_;
  double age_ = 0.0;  // s
};
