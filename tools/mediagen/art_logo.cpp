#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

// The title in chunky rounded block letters that bob up and down like a hop: "BIN" in green,
// "HOPPER" in warm yellow, with an ink rim, a bevel and a soft drop shadow.
namespace {

using Glyph = std::vector<std::string>;

const Glyph kB = {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."};
const Glyph kI = {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"};
const Glyph kN = {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
const Glyph kH = {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
const Glyph kO = {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
const Glyph kP = {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."};
const Glyph kE = {"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
const Glyph kR = {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};

constexpr int kBlock = 10;       // pixels per glyph cell
constexpr int kSub = 3;          // sub-samples per pixel along each axis
constexpr int kMargin = 8;       // room for the rim and the shadow
constexpr int kRim = 3;          // ink rim width, pixels
constexpr int kBounce = 5;       // largest letter lift, pixels
constexpr double kSpread = 0.5;  // width of a cell's influence, in cells

struct Letter {
  const Glyph* glyph;
  int left, top;
  bool green;
};

bool cellSet(const Glyph& glyph, int column, int row) {
  return row >= 0 && row < static_cast<int>(glyph.size()) && column >= 0 &&
         column < static_cast<int>(glyph[0].size()) && glyph[row][column] == '#';
}

// The lit cells melt together like drops of paint: a point is inside where the summed
// bell-shaped influence of the nearby cell centres passes a threshold, which rounds every
// outer corner and joins diagonal neighbours smoothly.
bool insideLetter(const Letter& letter, double x, double y) {
  double u = (x - letter.left) / kBlock, v = (y - letter.top) / kBlock;
  const Glyph& glyph = *letter.glyph;
  if (u < -1 || v < -1 || u > glyph[0].size() + 1 || v > glyph.size() + 1) return false;
  double field = 0.0;
  for (int row = static_cast<int>(v) - 2; row <= static_cast<int>(v) + 2; ++row)
    for (int column = static_cast<int>(u) - 2; column <= static_cast<int>(u) + 2; ++column) {
      if (!cellSet(glyph, column, row)) continue;
      double dx = u - (column + 0.5), dy = v - (row + 0.5);
      field += std::exp(-(dx * dx + dy * dy) / (2 * kSpread * kSpread));
    }
  return field > 0.5;
}

std::vector<Letter> layOut(int& width, int& height) {
  const std::vector<const Glyph*> word = {&kB, &kI, &kN, &kH, &kO, &kP, &kP, &kE, &kR};
  std::vector<Letter> letters;
  int left = kMargin;
  for (size_t i = 0; i < word.size(); ++i) {
    int lift = static_cast<int>(std::lround(kBounce * (1.0 + std::sin(i * 1.2 + 0.6))));
    letters.push_back({word[i], left, kMargin + 2 * kBounce - lift, i < 3});
    left += (static_cast<int>((*word[i])[0].size()) + 1) * kBlock;
  }
  width = left - kBlock + 2 * kMargin;
  height = 7 * kBlock + 2 * kBounce + 2 * kMargin + 2;
  return letters;
}

// Per-pixel coverage (0..1) of the letters grown by `grow` pixels.
std::vector<double> coverage(const std::vector<Letter>& letters, int width, int height, double grow) {
  std::vector<double> result(static_cast<size_t>(width * height), 0.0);
  std::vector<std::pair<double, double>> offsets = {{0, 0}};
  for (int step = 0; step < 16 && grow > 0; ++step) {
    double angle = step * 3.14159265358979 / 8;
    offsets.push_back({grow * std::cos(angle), grow * std::sin(angle)});
    offsets.push_back({grow * 0.5 * std::cos(angle), grow * 0.5 * std::sin(angle)});
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSub; ++sy)
        for (int sx = 0; sx < kSub; ++sx) {
          double px = x + (sx + 0.5) / kSub, py = y + (sy + 0.5) / kSub;
          bool inside = false;
          for (const Letter& letter : letters)
            for (auto [ox, oy] : offsets)
              if (!inside && insideLetter(letter, px + ox, py + oy)) inside = true;
          hits += inside;
        }
      result[y * width + x] = static_cast<double>(hits) / (kSub * kSub);
    }
  return result;
}

Rgba letterColour(const Letter& letter, double y) {
  using namespace palette;
  double t = std::clamp((y - letter.top) / (7.0 * kBlock), 0.0, 1.0);
  return letter.green ? mix(kLightGreen, kDarkGreen, t * t) : mix(kYellow, kDarkOrange, t * t);
}

}  // namespace

Canvas logoImage() {
  int width = 0, height = 0;
  std::vector<Letter> letters = layOut(width, height);
  std::vector<double> body = coverage(letters, width, height, 0.0);
  std::vector<double> rim = coverage(letters, width, height, kRim);
  Canvas logo(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int shadowX = x - 3, shadowY = y - 4;
      if (shadowX >= 0 && shadowY >= 0) logo.blend(x, y, rgb(20, 10, 40, 150), rim[shadowY * width + shadowX]);
      logo.blend(x, y, palette::kInk, rim[y * width + x]);
      double inside = body[y * width + x];
      if (inside <= 0) continue;
      const Letter* owner = &letters.front();
      for (const Letter& letter : letters)
        if (x >= letter.left) owner = &letter;
      Rgba colour = letterColour(*owner, y);
      bool topEdge = y >= 2 && body[(y - 2) * width + x] < 0.5;
      if (topEdge) colour = mix(colour, palette::kWhite, 0.6);
      logo.blend(x, y, colour, inside);
    }
  return logo;
}
