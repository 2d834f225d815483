#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

// The avatar: a litter picker in a green cap, orange shirt and blue overalls, facing left.
// Pictures are fills only; the ink rim is added around the whole figure afterwards. The
// game holds a carried object 20 pixels above the figure, so the raised hands reach row 0.
namespace {

using Rows = std::vector<std::string>;

const Rows kHead = {
    ".......eeeeee.......",  // 3
    "......eewweeee......",
    "......eeeeeeeee.....",
    "....EEEEEEEEnnn.....",
    ".....ssssssSnnn.....",
    ".....sksssSsnnn.....",
    "....ssssssssnnn.....",
    ".....ssssssnnn......",  // 10
    "......ssssss........",
};

const Rows kBodyArmsDown = {
    "......ooooooo.......",  // 12
    ".....obooOoobo......",
    ".....bbboObbbb......",
    ".....bbbbsbbbb......",  // 15
};

const Rows kBodyArmsUp = {
    "...oooooooooooo.....",  // 12
    "....oboooooobo......",
    ".....bbbbbbbbb......",
    ".....bbbbybbbb......",  // 15
};

// Raised arms from the hands at the top down to the shoulders.
const Rows kRaisedArms = {
    "..ss..........ss....",  // 0
    "..ss..........ss....",
    "..oo..........oo....",
    "..oo..........oo....",
    "..oo..........oo....",
    "..oo..........oo....",
    "..oo..........oo....",
    "..oo..........oo....",
    "..oo..........oo....",
    "..oo..........oo....",
    "...oo........oo.....",
    "...oo........oo.....",  // 11
};

// Legs, rows 16-19: near leg b with shoe n, far leg B with shoe N. Phase 2 is the stance.
const std::vector<Rows> kWalkLegs = {
    {".....bbbbBBBB.......", "....bbb....BBB......", "...bbb......BBB.....", "..nnnn.......NNN...."},
    {"......bbbBBBB.......", ".....bbb..BBB.......", ".....bbb...BBB......", "....nnnn...NNNN....."},
    {"......BBBbbbb.......", "......BBB.bbb.......", "......BBB.bbb.......", ".....NNNNnnnn......."},
    {".....BBBBbbbb.......", "....BBB....bbb......", "...BBB......bbb.....", "..NNNN.......nnn...."},
    {"......BBBbbbb.......", ".....BBB..bbb.......", ".....BBB...bbb......", "....NNNN...nnnn....."},
    {"......bbbBBBB.......", "......bbb.BBB.......", "......bbb..BBNN.....", ".....nnnn..........."},
};

const Rows kAirLegs = {
    ".....bbbbbBBBB......",
    "....bbbb....BBB.....",
    "...nnnn......NNN....",
};

const Rows kCrouchLegs = {
    "....bbbbbbBBBBB.....",
    "...nnnnn...NNNNN....",
};

// The raised arms end at the shoulders, nine rows below the top of the head.
Canvas figure(int headTop, const Rows& body, const Rows& legs, int legsTop, bool armsUp) {
  Canvas frame(20, 20);
  if (armsUp) frame.stamp(0, headTop + 9 - static_cast<int>(kRaisedArms.size()) + (headTop > 3 ? 2 : 0), kRaisedArms);
  frame.stamp(0, headTop, kHead);
  frame.stamp(0, headTop + 9, body);
  frame.stamp(0, legsTop, legs);
  frame.outline(palette::kInk);
  return frame;
}

}  // namespace

std::vector<Canvas> guyFrames() {
  std::vector<Canvas> frames;
  for (bool armsUp : {false, true}) {
    const Rows& body = armsUp ? kBodyArmsUp : kBodyArmsDown;
    for (int phase = 0; phase < 6; ++phase) frames.push_back(figure(3, body, kWalkLegs[phase], 16, armsUp));
    Rows crouchBody(body.begin(), body.begin() + 2);
    frames.push_back(figure(7, crouchBody, kCrouchLegs, 18, armsUp));
    frames.push_back(figure(2, body, kAirLegs, 15, armsUp));
    if (!armsUp) frames.push_back(Canvas(20, 20));
  }
  return frames;
}
