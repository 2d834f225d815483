#pragma once

#include <functional>
#include <vector>

// One update step handed out by the frame clock. A step with skipDraw set is simulated
// without drawing a frame (catch-up after a stall).
struct FrameStep {
  double dt = 0.0;
  bool skipDraw = false;
};

// Paces a state's loop: a frame shorter than the minimum frame is reported as the minimum and
// the loop rests until that frame's deadline, the previous frame's start plus the minimum;
// long frames are split into bounded steps.
class FrameClock {
 public:
  using TimeSource = std::function<double()>;
  using RestFunction = std::function<void(double seconds)>;

  // The library's clock and rest, at the minimum frame the game window asks for.
  FrameClock();
  FrameClock(TimeSource now, RestFunction rest, double minimumFrame = kMinimumFrame);

  void start();
  void stop();
  FrameStep tick();
  // The pace of the game against real time, from 0 (exclusive) to 1: at 0.5 every step handed
  // out is as long as at full speed, but the loop rests twice as long before each, so the steps
  // that reach the level, and so its physics and its runs, do not change.
  void setSpeed(double speed) { speed_ = speed; }
  double speed() const { return speed_; }

  bool running() const { return running_; }

  // The minimum frame while vertical sync shows one picture per refresh of a display at
  // `refreshRate` hertz (0 when the display does not say): its refresh period when that lies
  // between 1/240 s and kMinimumFrame, else kMinimumFrame. A slower display's frames are split
  // into steps like any long frame; rests much shorter are mostly the error of waking up.
  static double minimumFrameAt(double refreshRate);

  static constexpr double kMinimumFrame = 0.017;  // s, without vertical sync
  // No step is longer than this: longer steps let a bag fall past a bin or through a floor, so
  // a slow frame is simulated as several short steps instead.
  static constexpr double kMaximumStep = 0.017;  // s

 private:
  void restOffDebt(double shortfall);

  TimeSource now_;
  RestFunction rest_;
  double minimumFrame_;
  double speed_ = 1.0;
  bool running_ = false;
  double last_ = 0.0;
  // What short frames owe in rest. Never positive after a tick: a rest that returned late
  // leaves minus what it overslept, which later frames make up.
  double sleepDebt_ = 0.0;
  std::vector<FrameStep> pendingSteps_;
};
