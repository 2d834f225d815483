#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

// The avatar: a cheerful refuse collector in a knitted teal bobble beanie, an orange hi-vis
// jacket with one reflective stripe, dark grey work trousers, chunky black boots and big grey
// gloves, facing left. Pictures are fills only; the ink rim is added around the whole figure
// afterwards. The game holds a carried object 20 pixels above the figure (15 when crouching),
// so the raised gloves reach the top of the frame.
namespace {

using Rows = std::vector<std::string>;

constexpr int kStandingHeadTop = 1;  // px
constexpr int kCrouchDrop = 4;       // px the head sinks when crouching
constexpr int kJumpLift = 1;         // px the body rises in the air
constexpr int kCrouchHandsTop = 5;   // px; crouching, the object is held 15 px up
constexpr int kHeadRows = 10;        // bobble to chin; the jacket starts below
constexpr int kShoulderRows = 3;     // bottom rows of kRaisedArms, kept at every arm length

const Rows kHead = {
    ".........ii.........",  // 1
    ".......qqqqqq.......", "......qqqqqqqq......", ".....qqqqqqqqqq.....",
    ".....QqQqQqQqQq.....",  // 5
    ".....akaaaaaNNN.....", ".....akaaaaaNNN.....", "....aaaaaaaaaNN.....", ".....AaaaaaaNN......",
    "......aaaaaa........",  // 10
};

const Rows kJacket = {
    "......hhhhhhh.......",  // 11
    ".....hhhhhhhhh......", ".....iiiiiiiii......", ".....hhhhhhhhh......",
    ".....OOOOOOOOO......",  // 15
};

const Rows kJacketArmsUp = {
    "....hhhhhhhhhhh.....",  // 11
    ".....hhhhhhhhh......", ".....iiiiiiiii......", ".....hhhhhhhhh......",
    ".....OOOOOOOOO......",  // 15
};

// The near arm from the shoulder down, rows 12-16: swung back, hanging, swung forward, and
// crouching with the glove on the knee.
const Rows kArmBack = {".......Ohh..........", "........Ohh.........", ".........Ohh........", "..........lll.......",
                       "..........lll......."};
const Rows kArmDown = {".......Ohh..........", ".......Ohh..........", ".......Ohh..........", ".......lll..........",
                       ".......lll.........."};
const Rows kArmForward = {"......Ohh...........", ".....Ohh............", "....Ohh.............",
                          "...lll..............", "...lll.............."};
const Rows kArmOnKnee = {"......Ohh...........", "....lll.............", "....lll............."};

// Both arms raised, from the gloves at the top down to the shoulders.
const Rows kRaisedArms = {
    "..lll.........lll...",  // 0
    "..lll.........lll...", "...hO.........Oh....", "...hO.........Oh....", "...ii.........ii....",
    "...hO.........Oh....", "...hO.........Oh....", "...hO.........Oh....", "...hO.........Oh....",
    "...hhO.......Ohh....", "....hh.......hh.....",
    "....hh.......hh.....",  // 11
};

// Legs, rows 16-19: near leg x, far leg d, boots K with a shine g on the toe. Phase 2 is the
// stance; the near arm swings against the near leg.
const std::vector<Rows> kWalkLegs = {
    {".....xxxxdddd.......", "....xxx....ddd......", "..gKKK......KKg.....", "..KKKK.......KKKK..."},
    {"......xxxdddd.......", ".....xxx..ddd.......", "....gKKK..gKKK......", "....KKKK..KKKK......"},
    {"......dddxxxx.......", "......ddd.xxx.......", ".....gKKKgKKK.......", ".....KKKKKKKK......."},
    {".....ddddxxxx.......", "....ddd....xxx......", "..gKKK......KKg.....", "..KKKK.......KKKK..."},
    {"......dddxxxx.......", ".....ddd..xxx.......", "....gKKK..gKKK......", "....KKKK..KKKK......"},
    {"......xxxdddd.......", "......xxx.ddd.......", ".....gKKK..dKKg.....", ".....KKKK....KKK...."},
};
const std::vector<const Rows*> kWalkArms = {&kArmBack, &kArmBack, &kArmDown, &kArmForward, &kArmForward, &kArmDown};

const Rows kAirLegs = {
    ".....xxxxxdddd......",
    "....xxxx....ddd.....",
    "..gKKKK......KKg....",
    "..KKKK........KKK...",
};

const Rows kCrouchLegs = {
    "....xxxxxxddddd.....",
    "..gKKKK...gKKKK.....",
};

// A shorter pair of raised arms loses sleeve, never the gloves or the shoulders.
Rows raisedArms(int rows) {
  Rows arms(kRaisedArms.begin(), kRaisedArms.begin() + rows - kShoulderRows);
  arms.insert(arms.end(), kRaisedArms.end() - kShoulderRows, kRaisedArms.end());
  return arms;
}

struct Pose {
  int headTop;
  int handsTop;  // top of the raised gloves when carrying
  int feetLift;  // px between the boots and the bottom of the frame
  const Rows& legs;
  const Rows& arm;  // the near arm when not carrying
};

// The jacket fills the rows between the chin and the legs.
Canvas figure(const Pose& pose, bool armsUp) {
  Canvas frame(20, 20);
  int jacketTop = pose.headTop + kHeadRows;
  int legsTop = frame.height() - pose.feetLift - static_cast<int>(pose.legs.size());
  const Rows& jacket = armsUp ? kJacketArmsUp : kJacket;
  if (armsUp) frame.stamp(0, pose.handsTop, raisedArms(jacketTop - pose.handsTop + 1));
  frame.stamp(0, pose.headTop, kHead);
  frame.stamp(0, jacketTop, Rows(jacket.begin(), jacket.begin() + (legsTop - jacketTop)));
  frame.stamp(0, legsTop, pose.legs);
  if (!armsUp) frame.stamp(0, jacketTop + 1, pose.arm);
  frame.outline(palette::kInk);
  return frame;
}

}  // namespace

std::vector<Canvas> guyFrames() {
  std::vector<Canvas> frames;
  for (bool armsUp : {false, true}) {
    for (int phase = 0; phase < 6; ++phase)
      frames.push_back(figure({kStandingHeadTop, 0, 0, kWalkLegs[phase], *kWalkArms[phase]}, armsUp));
    frames.push_back(figure({kStandingHeadTop + kCrouchDrop, kCrouchHandsTop, 0, kCrouchLegs, kArmOnKnee}, armsUp));
    frames.push_back(figure({kStandingHeadTop - kJumpLift, -kJumpLift, kJumpLift, kAirLegs, kArmForward}, armsUp));
    if (!armsUp) frames.push_back(Canvas(20, 20));
  }
  return frames;
}
