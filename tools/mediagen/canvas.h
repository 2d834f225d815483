#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An 8-bit straight-alpha colour, the form the PNG files store.
struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba rgb(int r, int g, int b, int a = 255) {
  return Rgba{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b),
              static_cast<std::uint8_t>(a)};
}

Rgba mix(Rgba from, Rgba to, double t);

// A picture in memory, drawn by our own code so that every run gives the same pixels
// whatever the graphics driver.
class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgba at(int x, int y) const { return pixels_[y * width_ + x]; }
  void set(int x, int y, Rgba colour);
  // Source-over blending with coverage 0..1 scaling the colour's alpha.
  void blend(int x, int y, Rgba colour, double coverage = 1.0);

  void fillRect(int left, int top, int width, int height, Rgba colour);
  // Fills every pixel whose centre lies inside the shape; with samples > 1 each pixel is
  // covered by the fraction of samples² sub-points inside, which smooths the edge.
  void fillShape(const std::function<bool(double, double)>& inside, Rgba colour, int samples = 1);
  void fillEllipse(double cx, double cy, double rx, double ry, Rgba colour, int samples = 1);
  void line(int x0, int y0, int x1, int y1, Rgba colour);
  // Pixel art: one string per row, one character per pixel, looked up in the shared palette
  // (see paletteColour); '.' and ' ' leave the pixel alone.
  void stamp(int left, int top, const std::vector<std::string>& rows);
  void draw(const Canvas& other, int left, int top);
  // Dark rim around every opaque shape: each clear pixel next to an opaque one takes colour.
  void outline(Rgba colour);

 private:
  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};

// The colour of one palette letter used by pixel-art rows.
Rgba paletteColour(char letter);
