#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "palette.h"

namespace {
std::uint8_t toByte(double value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }
}  // namespace

Rgba mix(Rgba from, Rgba to, double t) {
  return Rgba{toByte(from.r + (to.r - from.r) * t), toByte(from.g + (to.g - from.g) * t),
              toByte(from.b + (to.b - from.b) * t), toByte(from.a + (to.a - from.a) * t)};
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {}

void Canvas::set(int x, int y, Rgba colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[y * width_ + x] = colour;
}

void Canvas::blend(int x, int y, Rgba colour, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Rgba& under = pixels_[y * width_ + x];
  double sourceAlpha = colour.a / 255.0 * coverage;
  double underAlpha = under.a / 255.0;
  double outAlpha = sourceAlpha + underAlpha * (1.0 - sourceAlpha);
  if (outAlpha <= 0.0) return;
  auto channel = [&](std::uint8_t source, std::uint8_t dest) {
    return toByte((source * sourceAlpha + dest * underAlpha * (1.0 - sourceAlpha)) / outAlpha);
  };
  under = Rgba{channel(colour.r, under.r), channel(colour.g, under.g), channel(colour.b, under.b),
               toByte(outAlpha * 255.0)};
}

void Canvas::fillRect(int left, int top, int width, int height, Rgba colour) {
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) blend(x, y, colour);
}

void Canvas::fillShape(const std::function<bool(double, double)>& inside, Rgba colour, int samples) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      int hits = 0;
      for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx)
          if (inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)) ++hits;
      if (hits > 0) blend(x, y, colour, static_cast<double>(hits) / (samples * samples));
    }
  }
}

void Canvas::fillEllipse(double cx, double cy, double rx, double ry, Rgba colour, int samples) {
  fillShape(
      [=](double x, double y) {
        double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
      },
      colour, samples);
}

void Canvas::line(int x0, int y0, int x1, int y1, Rgba colour) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    blend(x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
    }
  }
}

void Canvas::stamp(int left, int top, const std::vector<std::string>& rows) {
  for (size_t row = 0; row < rows.size(); ++row)
    for (size_t column = 0; column < rows[row].size(); ++column) {
      char letter = rows[row][column];
      if (letter == '.' || letter == ' ') continue;
      blend(left + static_cast<int>(column), top + static_cast<int>(row), paletteColour(letter));
    }
}

void Canvas::draw(const Canvas& other, int left, int top) {
  for (int y = 0; y < other.height(); ++y)
    for (int x = 0; x < other.width(); ++x) blend(left + x, top + y, other.at(x, y));
}

void Canvas::outline(Rgba colour) {
  Canvas source = *this;
  auto opaque = [&](int x, int y) { return x >= 0 && y >= 0 && x < width_ && y < height_ && source.at(x, y).a >= 128; };
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (!opaque(x, y) && (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1)))
        set(x, y, colour);
}

Rgba paletteColour(char letter) {
  using namespace palette;
  static const std::pair<char, Rgba> kLetters[] = {
      {'k', kInk},        {'w', kWhite},      {'l', kLightGrey}, {'g', kGrey},           {'d', kDarkGrey},
      {'s', kSkin},       {'S', kSkinShade},  {'r', kRed},       {'R', kDarkRed},        {'o', kOrange},
      {'O', kDarkOrange}, {'y', kYellow},     {'Y', kGold},      {'e', kGreen},          {'E', kDarkGreen},
      {'f', kLightGreen}, {'c', kLightBlue},  {'b', kBlue},      {'B', kDarkBlue},       {'v', kLavender},
      {'p', kPurple},     {'P', kDarkPurple}, {'t', kTan},       {'n', kBrown},          {'N', kDarkBrown},
      {'m', kPink},       {'q', kTeal},       {'Q', kDarkTeal},  {'h', kHiVis},          {'i', kPaleYellow},
      {'x', kSlate},      {'K', kBootBlack},  {'a', kBrownSkin}, {'A', kBrownSkinShade},
  };
  for (const auto& [key, colour] : kLetters)
    if (key == letter) return colour;
  std::fprintf(stderr, "mediagen: no palette colour for '%c'\n", letter);
  std::abort();
}
