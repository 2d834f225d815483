#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

// The avatar: a litter picker in a green cap, orange shirt and blue overalls, facing left.
// Pictures are fills only; the ink rim is added around the whole figure afterwards.
namespace {

using Rows = std::vector<std::string>;

const Rows kHead = {
    ".......eeeeee.......",  // 3
    "......eeeewwee......",
    "...EEEEeeeeeeee.....",
    "......sssssnnnn.....",
    ".....sdssssnnn......",
    "....sssssssSn.......",
    ".....SssssSs........",
    ".......sss..........",  // 10
};

const Rows kTorsoArmsDown = {
    "......oooooooo......",  // 11
    ".....oobooooboo.....",
    ".....obbbOobbbo.....",
    ".....obbbSsbbbo.....",
    "......bbbssbbb......",  // 15
};

const Rows kTorsoArmsUp = {
    "....ss.oooooo..ss...",  // 11
    "....oooobooboooo....",
    ".......obbbbbo......",
    ".......bbbybbb......",
    "......bbbbbbbb......",  // 15
};

const Rows kArmsUpSleeves = {
    "...ss.........ss....",  // 0
    "...ss.........ss....",
    "...oo.........oo....",
    "...oo.........oo....",
    "...oo.........oo....",
    "....o.........oo....",
    "....o.........oo....",
    "....oo.......oo.....",
    "....oo.......oo.....",
    "....oo.......oo.....",
    "....oo.......oo.....",  // 10
};

// Legs, rows 16-19: near leg b with shoe n, far leg B with shoe N.
const std::vector<Rows> kWalkLegs = {
    {".....bbbbBBBB.......", "....bbb....BBB......", "...bbb......BBB.....", "..nnnn.......NNNN..."},
    {"......bbbbBBB.......", ".....bbb..BBB.......", ".....bbb...BBB......", "....nnnn...NNNN....."},
    {"......BBB.bbb.......", "......BBB.bbb.......", "......BBB.bbb.......", ".....NNNN.nnnn......"},
    {".....BBBBbbbb.......", "....BBB....bbb......", "...BBB......bbb.....", "..NNNN.......nnnn..."},
    {"......BBBBbbb.......", ".....BBB..bbb.......", ".....BBB...bbb......", "....NNNN...nnnn....."},
    {"......bbb.BBB.......", "......bbb.BBB.......", "......bbb..BBBN.....", ".....nnnn..........."},
};

const Rows kAirLegs = {
    ".....bbbbbBBBB......",
    "....bbbb....BBB.....",
    "....nnnn.....NNN....",
    "....................",
};

Canvas figure(const Rows& legs, bool armsUp, int lift) {
  Canvas frame(20, 20);
  frame.stamp(0, 3 + lift, kHead);
  if (armsUp) {
    frame.stamp(0, 0, kArmsUpSleeves);
    frame.stamp(0, 11 + lift, kTorsoArmsUp);
  } else {
    frame.stamp(0, 11 + lift, kTorsoArmsDown);
  }
  frame.stamp(0, 16 + lift, legs);
  frame.outline(palette::kInk);
  return frame;
}

Canvas crouching(bool armsUp) {
  Canvas frame(20, 20);
  frame.stamp(0, 7, kHead);
  if (armsUp) {
    frame.stamp(0, 5, {"...ss.........ss....", "...ss.........ss....", "...oo.........oo....",
                       "...oo.........oo....", "....o.........oo....", "....o.........oo....",
                       "....oo.......oo....."});
    frame.stamp(0, 15, {"....oooobooboooo....", "......bbbbbbbb......"});
  } else {
    frame.stamp(0, 15, {".....oobooooboo.....", ".....obbbSsbbbo....."});
  }
  frame.stamp(0, 17, {"....bbbbbbbBBBB.....", "...bbbbb...BBBB.....", "..nnnnn....NNNNN...."});
  frame.outline(palette::kInk);
  return frame;
}

}  // namespace

std::vector<Canvas> guyFrames() {
  std::vector<Canvas> frames;
  for (int holding = 0; holding < 2; ++holding) {
    for (int phase = 0; phase < 6; ++phase)
      frames.push_back(figure(kWalkLegs[phase], holding, 0));
    frames.push_back(crouching(holding));
    frames.push_back(figure(kAirLegs, holding, -1));
    if (!holding) frames.push_back(Canvas(20, 20));
  }
  return frames;
}
