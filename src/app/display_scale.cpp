#include "app/display_scale.h"

#include <algorithm>
#include <cmath>

PictureFit fitPicture(int windowWidth, int windowHeight, Scaling scaling) {
  PictureFit fit;
  if (windowWidth <= 0 || windowHeight <= 0) return fit;
  fit.scale =
      std::min(static_cast<double>(windowWidth) / kPictureWidth, static_cast<double>(windowHeight) / kPictureHeight);
  if (scaling == Scaling::WholePixels && fit.scale >= 1.0) fit.scale = std::floor(fit.scale);
  fit.left = std::floor((windowWidth - kPictureWidth * fit.scale) / 2);
  fit.top = std::floor((windowHeight - kPictureHeight * fit.scale) / 2);
  return fit;
}

void windowToPicture(const PictureFit& fit, int& x, int& y) {
  x = static_cast<int>(std::floor((x - fit.left) / fit.scale));
  y = static_cast<int>(std::floor((y - fit.top) / fit.scale));
}
