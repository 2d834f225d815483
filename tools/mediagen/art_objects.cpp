#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "art.h"
#include "palette.h"

namespace {

using namespace palette;
using Rows = std::vector<std::string>;

// The bin is drawn 8 pixels above its position, so its mouth (2, 0)-(37, 10) in game terms
// is the band from row 8 to row 18 here; the yellow count sits on the dark plate below the rim.
Canvas bin(bool full) {
  Canvas frame(40, 28);
  // The body narrows a little towards the bottom.
  auto body = [](double x, double y) { return y >= 10 && x >= 4 + (y - 10) / 9 && x < 36 - (y - 10) / 9; };
  frame.fillShape(body, kGreen);
  for (int rib : {8, 31}) frame.fillRect(rib, 12, 1, 15, kDarkGreen);
  frame.fillRect(5, 26, 30, 2, kDarkGreen);
  frame.fillRect(12, 12, 16, 13, kDarkGrey);
  frame.fillRect(13, 13, 14, 11, kInk);
  frame.fillEllipse(20, 8.5, 18.5, 3.5, kDarkGreen);
  frame.fillEllipse(20, 8.5, 16.5, 2.2, full ? kDarkGrey : kInk);
  if (full) {
    for (auto [x, y, radius] : {std::tuple{11.0, 6.0, 5.5}, std::tuple{29.0, 6.0, 5.5}, std::tuple{20.0, 4.5, 6.0}}) {
      Canvas bag(40, 28);
      bag.fillEllipse(x, y, radius, radius - 1.0, kGrey);
      bag.fillEllipse(x - radius * 0.35, y - 1.5, 1.6, 1.2, kLightGrey);
      bag.fillRect(static_cast<int>(x) - 1, static_cast<int>(y - radius), 2, 2, kYellow);
      bag.outline(kInk);
      frame.draw(bag, 0, 0);
    }
    frame.stamp(14, 14,
                {"...........f", "..........ff", ".........ff.", "f.......ff..", "ff.....ff...", ".ff...ff....",
                 "..ff.ff.....", "...fff......", "....f......."});
  }
  frame.fillRect(2, 9, 36, 2, kLightGreen);
  frame.outline(kInk);
  return frame;
}

Canvas appleCore() {
  Canvas frame(20, 20);
  frame.stamp(0, 4,
              {"..........NN........", ".........N.ee.......", "......rrrr..........", ".....rrrrrr.........",
               "......ttttt.........", ".......tkt..........", ".......ttt..........", "......tttt..........",
               ".....rrrrrr.........", ".....rrrrrr.........", "......rrrr.........."});
  frame.outline(kInk);
  return frame;
}

Canvas tinCan() {
  Canvas frame(20, 20);
  frame.stamp(0, 4,
              {"......llllll........", "......gllllg........", "......rrrrrr........", "......rwwrrr........",
               "......rwwrrr........", "......rrrrrr........", "......bbbbbb........", "......rrrrrr........",
               "......gllllg........", "......dggggd........"});
  frame.outline(kInk);
  return frame;
}

Canvas fishBones() {
  Canvas frame(20, 20);
  frame.stamp(0, 6,
              {".......l.l.l.....l..", "..www..l.l.l....ll..", ".wwkww..l.l.l..lll..", ".wwwwwllllllllllll..",
               ".wwwww..l.l.l..lll..", "..www..l.l.l....ll..", ".......l.l.l.....l.."});
  frame.outline(kInk);
  return frame;
}

Canvas checkMark() {
  Canvas frame(18, 14);
  frame.stamp(0, 1,
              {"...............ee.", "..............eee.", ".............eee..", "............eee...",
               "...........eee....", "..ee......eee.....", "..eee....eee......", "...eee..eee.......",
               "....eeeeee........", ".....eeee.........", "......ee.........."});
  frame.outline(kInk);
  return frame;
}

// The level button draws the silver crown and then the golden one at the same spot, so the
// golden crown sits left and the silver one right, and both show when both are earned.
Canvas crown(bool golden) {
  const std::string from = "HMJD", to = golden ? "yYrO" : "wlbg";
  Rows rows = {"H...H...H", "HH.HHH.HH", "HHHHHHHHH", "MMMMMMMMM", "MMJMMMJMM", "MMMMMMMMM", "DDDDDDDDD"};
  for (std::string& row : rows)
    for (char& letter : row)
      if (from.find(letter) != std::string::npos) letter = to[from.find(letter)];
  Canvas frame(18, 14);
  frame.stamp(golden ? 1 : 8, golden ? 4 : 2, rows);
  frame.outline(kInk);
  return frame;
}

}  // namespace

std::vector<Canvas> containerFrames() { return {bin(false), bin(true)}; }

std::vector<Canvas> looseFrames() { return {appleCore(), tinCan(), fishBones()}; }

std::vector<Canvas> completeFrames() { return {checkMark(), crown(true), crown(false)}; }

Canvas bagImage() {
  Canvas frame(20, 20);
  frame.stamp(0, 5,
              {".....gg...gg........", "......gg.gg.........", ".......yyy..........", "......ggggg.........",
               ".....ggggggg........", "....gggggggggg......", "...ggllggggggggg....", "...glllgggggggdg....",
               "...gllggggggggdg....", "...ggggggggggdgg....", "...gggggggggggdg....", "...ggggggggggddg....",
               "....ggggggdddgg.....", ".....ddddddddd......"});
  frame.outline(kInk);
  return frame;
}
