#include <cmath>
#include <vector>

#include "art.h"
#include "palette.h"
#include "synth.h"

// Wall tiles fill their whole cell; the game draws dark borders and light and dark bands on
// their outer edges, so the pictures keep their own shading mild.
namespace {

using namespace palette;

Canvas brickTile() {
  Canvas tile(20, 20);
  tile.fillRect(0, 0, 20, 20, kLightGrey);
  for (int course = 0; course < 4; ++course) {
    int offset = course % 2 == 0 ? 0 : -5;
    for (int left = offset; left < 20; left += 10) {
      tile.fillRect(left, course * 5, 9, 4, kRed);
      tile.fillRect(left, course * 5 + 3, 9, 1, kDarkRed);
      tile.fillRect(left + 1, course * 5, 6, 1, kPink);
    }
  }
  return tile;
}

Canvas stoneTile() {
  Canvas tile(20, 20);
  tile.fillRect(0, 0, 20, 20, kDarkGrey);
  struct Stone {
    int left, top, width, height;
  };
  for (Stone s : {Stone{0, 0, 11, 8}, Stone{12, 0, 8, 10}, Stone{0, 9, 7, 11}, Stone{8, 9, 12, 5}, Stone{8, 15, 5, 5},
                  Stone{14, 11, 6, 9}}) {
    tile.fillRect(s.left, s.top, s.width, s.height, kGrey);
    tile.fillRect(s.left, s.top, s.width - 1, 1, kLightGrey);
    tile.fillRect(s.left, s.top, 1, s.height - 1, kLightGrey);
  }
  tile.set(4, 4, kDarkGrey);
  tile.set(5, 5, kDarkGrey);
  tile.set(16, 15, kDarkGrey);
  return tile;
}

Canvas woodTile() {
  Canvas tile(20, 20);
  for (int plank = 0; plank < 4; ++plank) {
    tile.fillRect(0, plank * 5, 20, 5, plank % 2 ? kBrown : kTan);
    tile.fillRect(0, plank * 5 + 4, 20, 1, kDarkBrown);
    int grain = (plank * 7 + 3) % 12;
    tile.fillRect(grain, plank * 5 + 2, 6, 1, plank % 2 ? kDarkBrown : kBrown);
    tile.set(2, plank * 5 + 1, kDarkBrown);
    tile.set(17, plank * 5 + 1, kDarkBrown);
  }
  return tile;
}

Canvas steelTile() {
  Canvas tile(20, 20);
  tile.fillRect(0, 0, 20, 20, kBlue);
  tile.fillRect(1, 1, 18, 1, kLightBlue);
  tile.fillRect(1, 1, 1, 18, kLightBlue);
  tile.fillRect(2, 18, 17, 1, kDarkBlue);
  tile.fillRect(18, 2, 1, 17, kDarkBlue);
  for (int i = 5; i < 15; ++i) tile.set(i, 19 - i, kLightBlue);
  for (int x : {4, 15})
    for (int y : {4, 15}) {
      tile.set(x, y, kWhite);
      tile.set(x + 1, y + 1, kDarkBlue);
    }
  return tile;
}

// A clipped hedge: leaves scattered by our fixed-seed noise and wrapped around the cell's
// edges, so neighbouring hedge tiles join without a seam.
Canvas hedgeTile() {
  Canvas tile(20, 20);
  tile.fillRect(0, 0, 20, 20, kDarkGreen);
  Noise scatter(2024);
  for (int leaf = 0; leaf < 22; ++leaf) {
    double x = (scatter.next() + 1.0) * 10.0, y = (scatter.next() + 1.0) * 10.0;
    Rgba colour = leaf % 3 == 0 ? kLightGreen : kGreen;
    for (int wrapX : {-20, 0, 20})
      for (int wrapY : {-20, 0, 20}) {
        tile.fillEllipse(x + wrapX + 0.7, y + wrapY + 0.9, 2.4, 1.7, rgb(24, 80, 44));
        tile.fillEllipse(x + wrapX, y + wrapY, 2.4, 1.7, colour);
      }
  }
  return tile;
}

// Three steel cones on a base plate, each with an ink edge of its own so the row of tips
// reads as sharp points.
Canvas spikes() {
  Canvas tile(20, 20);
  constexpr double kTip = 1.5, kBase = 16.0, kHalfWidth = 10.0 / 3.0;
  for (int spike = 0; spike < 3; ++spike) {
    double centre = kHalfWidth * (2 * spike + 1);
    auto cone = [=](double grow) {
      return [=](double x, double y) {
        return y >= kTip - grow && std::abs(x - centre) < (y - kTip) / (kBase - kTip) * kHalfWidth + grow;
      };
    };
    tile.fillShape(cone(0.8), kInk, 3);
    tile.fillShape(cone(-0.3), kGrey, 3);
    tile.fillShape([=](double x, double y) { return cone(-0.3)(x, y) && x < centre - 0.5; }, kLightGrey, 3);
  }
  tile.fillRect(0, 15, 20, 5, kInk);
  tile.fillRect(0, 16, 20, 3, kDarkGrey);
  tile.fillRect(0, 16, 20, 1, kGrey);
  return tile;
}

Canvas sign() {
  Canvas tile(20, 20);
  tile.fillRect(9, 12, 2, 8, kBrown);
  tile.fillRect(2, 2, 16, 10, kTan);
  tile.fillRect(2, 11, 16, 1, kBrown);
  tile.fillRect(4, 4, 9, 1, kDarkBrown);
  tile.fillRect(4, 6, 12, 1, kDarkBrown);
  tile.fillRect(4, 8, 7, 1, kDarkBrown);
  tile.outline(kInk);
  return tile;
}

Canvas lever(bool on) {
  Canvas tile(20, 20);
  int tipX = on ? 15 : 4;
  tile.line(10, 15, tipX, 6, kLightGrey);
  tile.line(11, 15, tipX + 1, 6, kGrey);
  tile.fillEllipse(tipX + 0.5, 5.5, 2.6, 2.6, on ? kGreen : kRed);
  tile.set(tipX, 4, kWhite);
  tile.fillRect(4, 14, 12, 6, kDarkGrey);
  tile.fillRect(5, 15, 10, 1, kGrey);
  tile.fillRect(8, 17, 4, 2, on ? kLightGreen : kDarkRed);
  tile.outline(kInk);
  return tile;
}

Canvas pressPad(bool down) {
  Canvas tile(20, 20);
  int plateTop = down ? 15 : 10;
  tile.fillRect(1, 17, 18, 3, kDarkGrey);
  if (!down) tile.fillRect(5, 13, 10, 4, kGrey);
  tile.fillRect(2, plateTop, 16, 3, kOrange);
  tile.fillRect(2, plateTop, 16, 1, kYellow);
  tile.fillRect(2, plateTop + 2, 16, 1, kDarkOrange);
  tile.outline(kInk);
  return tile;
}

}  // namespace

std::vector<Canvas> tileFrames() {
  return {brickTile(), stoneTile(),  woodTile(),  steelTile(),     hedgeTile(),   spikes(),
          sign(),      lever(false), lever(true), pressPad(false), pressPad(true)};
}
