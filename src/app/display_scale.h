#pragma once

// How the picture is fitted to the window: at any scale (smooth), or at a whole multiple so that
// every picture pixel becomes a square of whole window pixels.
enum class Scaling { Smooth, WholePixels };

// The game draws an 800 x 600 picture; a window of any size shows it at the largest scale that
// fits (with WholePixels the largest whole one, unless the window is smaller than the picture),
// aspect kept, centred between black bars.
struct PictureFit {
  double scale = 1.0;
  double left = 0.0;  // px of the window
  double top = 0.0;   // px of the window
};

constexpr int kPictureWidth = 800;   // px
constexpr int kPictureHeight = 600;  // px

PictureFit fitPicture(int windowWidth, int windowHeight, Scaling scaling = Scaling::Smooth);

// A window position back to picture pixels, rounded down; points on the bars land outside
// 0..799 x 0..599, so no widget takes them.
void windowToPicture(const PictureFit& fit, int& x, int& y);
