#include "contact_sheet.h"

#include <algorithm>

namespace {

constexpr int kScale = 3;
constexpr int kGap = 8;
const Rgba kDaySky = rgb(148, 216, 255);
const Rgba kNightSky = rgb(32, 8, 48);
const Rgba kPaper = rgb(60, 60, 60);

int scaleFor(const Canvas& picture) { return picture.width() > 200 ? 1 : kScale; }

void drawScaled(Canvas& target, const Canvas& picture, int left, int top, int scale, Rgba background) {
  target.fillRect(left, top, picture.width() * scale, picture.height() * scale, background);
  for (int y = 0; y < picture.height() * scale; ++y)
    for (int x = 0; x < picture.width() * scale; ++x) target.blend(left + x, top + y, picture.at(x / scale, y / scale));
}

}  // namespace

Canvas contactSheet(const std::vector<NamedPicture>& pictures) {
  int width = 0, height = kGap;
  for (const NamedPicture& entry : pictures) {
    int scale = scaleFor(entry.picture);
    width = std::max(width, 2 * entry.picture.width() * scale + 3 * kGap);
    height += entry.picture.height() * scale + kGap;
  }
  Canvas sheet(width, height);
  sheet.fillRect(0, 0, width, height, kPaper);
  int top = kGap;
  for (const NamedPicture& entry : pictures) {
    int scale = scaleFor(entry.picture);
    drawScaled(sheet, entry.picture, kGap, top, scale, kDaySky);
    drawScaled(sheet, entry.picture, 2 * kGap + entry.picture.width() * scale, top, scale, kNightSky);
    top += entry.picture.height() * scale + kGap;
  }
  return sheet;
}
