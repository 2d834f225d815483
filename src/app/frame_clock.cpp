#include "app/frame_clock.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <utility>

namespace {
// The estimate's weight is the single-precision 0.2 widened to double, as the pacing was tuned with it.
const double kEstimateWeight = static_cast<double>(0.2f);
// Time beyond this in one frame is dropped: a stall of seconds is not worth catching up with.
// At most eight undrawn steps of 0.017 s and one drawn step of the remainder fit in it.
const double kLongestFrame = 0.15;  // s
}  // namespace

FrameClock::FrameClock() : FrameClock([] { return al_get_time(); }, [](double s) { al_rest(s); }) {}

FrameClock::FrameClock(TimeSource now, RestFunction rest) : now_(std::move(now)), rest_(std::move(rest)) {}

void FrameClock::start() {
  sleepDebt_ = 0.0;
  last_ = now_();
  running_ = true;
}

void FrameClock::stop() { running_ = false; }

// Rests in half-frame slices while the debt exceeds what a rest is expected to overshoot.
// Rests advance `last_`, so time spent resting is not counted into the next frame.
void FrameClock::restOffDebt() {
  while (sleepDebt_ > sleepEstimate_) {
    rest_(kMinimumFrame * 0.5);
    double now = now_();
    double slept = now - last_;
    last_ = now;
    sleepDebt_ -= slept;
    sleepEstimate_ = (sleepEstimate_ * 4.0 + slept * 0.5) * kEstimateWeight;
  }
}

FrameStep FrameClock::tick() {
  if (!running_) return {0.0, false};
  if (!pendingSteps_.empty()) {
    FrameStep step = pendingSteps_.back();
    pendingSteps_.pop_back();
    return step;
  }
  double now = now_();
  double elapsed = now - last_;
  last_ = now;

  double dt = elapsed;
  if (elapsed < kMinimumFrame) {
    dt = kMinimumFrame;
    sleepDebt_ += kMinimumFrame - elapsed;
    restOffDebt();
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
