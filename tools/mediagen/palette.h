#pragma once

#include "canvas.h"

// One palette for every picture, so the sprites look like one world. Bright fills inside a
// dark ink rim stay readable on the light blue day sky and on the dark purple night sky.
namespace palette {
constexpr Rgba kClear = rgb(0, 0, 0, 0);
constexpr Rgba kInk = rgb(28, 22, 40);
constexpr Rgba kWhite = rgb(255, 255, 255);
constexpr Rgba kLightGrey = rgb(200, 204, 216);
constexpr Rgba kGrey = rgb(136, 140, 158);
constexpr Rgba kDarkGrey = rgb(78, 80, 98);
constexpr Rgba kSkin = rgb(252, 204, 160);
constexpr Rgba kSkinShade = rgb(218, 150, 112);
constexpr Rgba kRed = rgb(226, 56, 62);
constexpr Rgba kDarkRed = rgb(140, 28, 48);
constexpr Rgba kOrange = rgb(248, 146, 40);
constexpr Rgba kDarkOrange = rgb(190, 92, 30);
constexpr Rgba kYellow = rgb(255, 222, 64);
constexpr Rgba kGold = rgb(206, 150, 30);
constexpr Rgba kLightGreen = rgb(156, 232, 110);
constexpr Rgba kGreen = rgb(72, 184, 74);
constexpr Rgba kDarkGreen = rgb(34, 110, 60);
constexpr Rgba kLightBlue = rgb(130, 200, 255);
constexpr Rgba kBlue = rgb(58, 108, 220);
constexpr Rgba kDarkBlue = rgb(36, 56, 138);
constexpr Rgba kLavender = rgb(196, 160, 250);
constexpr Rgba kPurple = rgb(140, 84, 206);
constexpr Rgba kDarkPurple = rgb(84, 44, 128);
constexpr Rgba kTan = rgb(214, 168, 104);
constexpr Rgba kBrown = rgb(152, 96, 52);
constexpr Rgba kDarkBrown = rgb(94, 58, 34);
constexpr Rgba kPink = rgb(250, 140, 184);
constexpr Rgba kTeal = rgb(44, 176, 170);
constexpr Rgba kDarkTeal = rgb(20, 110, 116);
constexpr Rgba kHiVis = rgb(255, 120, 24);
constexpr Rgba kPaleYellow = rgb(255, 246, 172);
constexpr Rgba kSlate = rgb(100, 104, 126);
constexpr Rgba kBootBlack = rgb(40, 38, 50);
constexpr Rgba kBrownSkin = rgb(212, 148, 102);
constexpr Rgba kBrownSkinShade = rgb(162, 100, 66);
constexpr Rgba kMagenta = rgb(255, 0, 255);
}  // namespace palette
