// The program's icon: the refuse collector with a bag beside him on a patch of day sky with
// rounded corners, drawn once at a small size and resampled to each size a desktop asks for.

#include <cmath>

#include "art.h"
#include "palette.h"

namespace {

constexpr int kMasterSize = 32;      // px: every icon size is resampled from this one
constexpr double kCornerRadius = 6;  // px of the master
constexpr int kStandingFrame = 2;
constexpr int kSamplesPerAxis = 4;  // per icon pixel when resampling

bool insideRoundedSquare(double x, double y) {
  double cx = std::fmin(std::fmax(x, kCornerRadius), kMasterSize - kCornerRadius);
  double cy = std::fmin(std::fmax(y, kCornerRadius), kMasterSize - kCornerRadius);
  return std::hypot(x - cx, y - cy) <= kCornerRadius;
}

Canvas masterIcon() {
  Canvas icon(kMasterSize, kMasterSize);
  for (int y = 0; y < kMasterSize; ++y) {
    Rgba sky = mix(palette::kLightBlue, palette::kBlue, static_cast<double>(y) / (kMasterSize - 1));
    icon.fillShape([y](double px, double py) { return py >= y && py < y + 1 && insideRoundedSquare(px, py); }, sky, 4);
  }
  icon.fillShape([](double px, double py) { return py >= 26 && insideRoundedSquare(px, py); }, palette::kGreen, 4);
  icon.draw(guyFrames()[kStandingFrame], 0, 7);
  icon.draw(bagImage(), 15, 8);
  return icon;
}

// Each icon pixel averages a grid of points of the master, weighting colour by alpha so that
// clear pixels do not darken the edges; whole-number enlargements stay crisp pixel art.
Canvas resampled(const Canvas& master, int size) {
  Canvas icon(size, size);
  const double step = static_cast<double>(master.width()) / size / kSamplesPerAxis;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int i = 0; i < kSamplesPerAxis * kSamplesPerAxis; ++i) {
        int sx = static_cast<int>((x * kSamplesPerAxis + i % kSamplesPerAxis + 0.5) * step);
        int sy = static_cast<int>((y * kSamplesPerAxis + i / kSamplesPerAxis + 0.5) * step);
        Rgba c = master.at(sx, sy);
        r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;
      }
      if (a <= 0) continue;
      const double count = kSamplesPerAxis * kSamplesPerAxis;
      icon.set(x, y,
               rgb(static_cast<int>(std::lround(r / a)), static_cast<int>(std::lround(g / a)),
                   static_cast<int>(std::lround(b / a)), static_cast<int>(std::lround(a / count))));
    }
  return icon;
}

}  // namespace

Canvas iconImage(int size) { return resampled(masterIcon(), size); }
