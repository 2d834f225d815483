#include "app/frame_clock.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <utility>

#include "app/game_window.h"

namespace {
// Time beyond this in one frame is dropped: a stall of seconds is not worth catching up with.
// At most eight undrawn steps of 0.017 s and one drawn step of the remainder fit in it.
const double kLongestFrame = 0.15;  // s
// A rest that returned late is made up by starting the next frames early, by at most this
// each: no frame comes sooner than 16 ms after the last at 0.017 s.
const double kMadeUpPerFrame = 0.001;  // s
// Lateness beyond this is forgotten: a machine that oversleeps every rest cannot make it up.
const double kLongestMakeUp = 0.017;  // s
// A frame this close under the minimum is on time and not rested. With vertical sync the flips
// pace the loop, and a refresh rate reported a hertz low must not let rests push the frames
// into a later refresh.
const double kOnTimeShare = 0.02;
// Refresh periods shorter than this are left to the clock's own minimum frame.
const double kShortestRefreshPeriod = 1.0 / 240;  // s

double windowMinimumFrame() {
  GameWindow* window = GameWindow::current();
  return window ? window->minimumFrame() : FrameClock::kMinimumFrame;
}
}  // namespace

FrameClock::FrameClock()
    : FrameClock([] { return al_get_time(); }, [](double s) { al_rest(s); }, windowMinimumFrame()) {}

FrameClock::FrameClock(TimeSource now, RestFunction rest, double minimumFrame)
    : now_(std::move(now)), rest_(std::move(rest)), minimumFrame_(minimumFrame) {}

double FrameClock::minimumFrameAt(double refreshRate) {
  if (!(refreshRate > 0)) return kMinimumFrame;
  double period = 1.0 / refreshRate;
  return period >= kShortestRefreshPeriod && period <= kMinimumFrame ? period : kMinimumFrame;
}

void FrameClock::start() {
  sleepDebt_ = 0.0;
  last_ = now_();
  running_ = true;
}

void FrameClock::stop() { running_ = false; }

// Rests off what a frame `shortfall` seconds short of the minimum adds to the debt, less what
// earlier late rests left to make up. A rest that returns early is continued. The frame starts
// when the last rest returns, so time spent resting is not counted into the next frame.
void FrameClock::restOffDebt(double shortfall) {
  sleepDebt_ += shortfall;
  double deadline = last_ + std::max(sleepDebt_, shortfall - kMadeUpPerFrame);
  double now = last_;
  while (now < deadline) {
    rest_(deadline - now);
    now = now_();
  }
  sleepDebt_ = std::max(sleepDebt_ - (now - last_), -kLongestMakeUp);
  last_ = now;
}

FrameStep FrameClock::tick() {
  if (!running_) return {0.0, false};
  if (!pendingSteps_.empty()) {
    FrameStep step = pendingSteps_.back();
    pendingSteps_.pop_back();
    return step;
  }
  // Game time: real time at the game's pace. The rests are real time.
  double now = now_();
  double elapsed = (now - last_) * speed_;
  last_ = now;

  double dt = elapsed;
  if (elapsed < minimumFrame_) {
    dt = minimumFrame_;
    if (elapsed < minimumFrame_ * (1.0 - kOnTimeShare)) restOffDebt((minimumFrame_ - elapsed) / speed_);
  }
  if (dt <= kMaximumStep) return {dt, false};

  // A long frame: one drawn step of the fractional remainder now, whole undrawn steps after it.
  double total = std::min(dt, kLongestFrame);
  double n = total / kMaximumStep;
  while (n > 1) {
    pendingSteps_.push_back({kMaximumStep, true});
    n -= 1;
  }
  return {n * kMaximumStep, false};
}
