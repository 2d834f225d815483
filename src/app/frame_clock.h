#pragma once

#include <functional>
#include <vector>

// One update step handed out by the frame clock. A step with skipDraw set is simulated
// without drawing a frame (catch-up after a stall).
struct FrameStep {
  double dt = 0.0;
  bool skipDraw = false;
};

// Paces a state's loop: frames shorter than the minimum are reported as the minimum and the
// surplus is slept away in half-frame rests; long frames are split into bounded steps.
class FrameClock {
 public:
  using TimeSource = std::function<double()>;
  using RestFunction = std::function<void(double seconds)>;

  // The defaults use the library's clock and rest.
  FrameClock();
  FrameClock(TimeSource now, RestFunction rest);

  void start();
  void stop();
  FrameStep tick();

  bool running() const { return running_; }
  double sleepDebt() const { return sleepDebt_; }
  double sleepEstimate() const { return sleepEstimate_; }

  static constexpr double kMinimumFrame = 0.017;  // s
  // No step is longer than a minimum frame: longer steps let a bag fall past a bin or through a
  // floor, so a slow frame is simulated as several short steps instead.
  static constexpr double kMaximumStep = kMinimumFrame;

 private:
  void restOffDebt();

  TimeSource now_;
  RestFunction rest_;
  bool running_ = false;
  double last_ = 0.0;
  double sleepDebt_ = 0.0;
  double sleepEstimate_ = kMinimumFrame * 0.5;
  std::vector<FrameStep> pendingSteps_;
};
