#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

namespace {

using namespace palette;

double smoothStep(double edge0, double edge1, double value) {
  double t = std::clamp((value - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

struct Blob {
  double x, y, radius;
};

// Soft body made of overlapping round blobs: alpha rises over `softness` pixels inside the
// outer edge; the shade darkens towards the bottom so the game's tint keeps some volume.
Canvas softBlobs(int width, int height, const std::vector<Blob>& blobs, double softness, Rgba top, Rgba bottom) {
  Canvas canvas(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double depth = -1e9;
      for (const Blob& blob : blobs)
        depth = std::max(depth, blob.radius - std::hypot(x + 0.5 - blob.x, y + 0.5 - blob.y));
      double alpha = smoothStep(0.0, softness, depth);
      if (alpha <= 0.0) continue;
      Rgba colour = mix(top, bottom, smoothStep(height * 0.35, height * 0.95, y));
      colour.a = static_cast<std::uint8_t>(std::lround(alpha * colour.a));
      canvas.set(x, y, colour);
    }
  return canvas;
}

}  // namespace

Canvas cloudImage() {
  return softBlobs(100, 50,
                   {{22, 32, 14}, {40, 22, 17}, {60, 20, 15}, {76, 30, 14}, {50, 34, 15}, {86, 37, 9}, {14, 40, 8}},
                   5.0, kWhite, rgb(214, 222, 240));
}

Canvas puffImage() {
  const std::vector<Blob> blobs = {{8, 9, 5.5}, {4.5, 10, 3.5}, {11.5, 10, 3.5}, {6.5, 6, 3.2}, {10, 6.5, 3.2}};
  return softBlobs(16, 16, blobs, 2.5, kLightGrey, kGrey);
}

Canvas glowImage() {
  Canvas canvas(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      double distance = std::hypot(x + 0.5 - 4.0, y + 0.5 - 4.0) / 4.0;
      double alpha = std::pow(std::max(0.0, 1.0 - distance), 1.6);
      Rgba colour = mix(rgb(255, 250, 210), rgb(255, 220, 120), distance);
      colour.a = static_cast<std::uint8_t>(std::lround(alpha * 255));
      canvas.set(x, y, colour);
    }
  return canvas;
}
