#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

// Baddies face the viewer, so one picture serves both walking directions. The tame one is a
// soft round lavender blob; the feral one is a red, spiky, toothed thing: shape and colour
// both tell them apart.
namespace {

using Rows = std::vector<std::string>;

const Rows kTameBody = {
    "......vvvvvvvv......",  // 7
    "....vvvvvvvvvvvv....", "...vvwwwvvvvwwwvv...", "...vwwwwwvvwwwwwv...",
    "...vwwkkwvvwkkwwv...", "...vwwkkwvvwkkwwv...", "...vvwwwvvvvwwwvv...",
    "...vvvvvkvvkvvvvv...", "...pvvvvvkkvvvvvp...", "...ppvvvvvvvvvvpp...",
    "....pppppppppppp....",  // 17
};

const Rows kFeralBody = {
    "....r..r....r..r....",  // 5
    "....rr.rr..rr.rr....", "...rrrrrrrrrrrrrr...", "...rrrrrrrrrrrrrr...", "..rrkkrrrrrrrrkkrr..",
    "..rrykkrrrrrrkkyrr..", "..rryyyrrrrrryyyrr..", "..rrrrrrrrrrrrrrrr..", "..rkwkwkwkwkwkwkwr..",
    "..rkkkkkkkkkkkkkkr..", "..rkwkwkwkwkwkwkwr..", "..RrrrrrrrrrrrrrrR..",
    "...RRRRRRRRRRRRRR...",  // 17
};

Canvas creature(const Rows& body, int top, int step) {
  Canvas frame(20, 20);
  frame.stamp(0, top, body);
  const Rows feet = step == 0 ? Rows{"....NNN.......NNN...", "...NNNN.............."}
                              : Rows{"....NNN.......NNN...", "..............NNNN.."};
  frame.stamp(0, 18, feet);
  frame.outline(palette::kInk);
  return frame;
}

}  // namespace

std::vector<Canvas> baddieFrames() {
  return {creature(kTameBody, 7, 0), creature(kTameBody, 7, 1), creature(kFeralBody, 5, 0), creature(kFeralBody, 5, 1)};
}
