#include "states/replay_playback.h"

ReplayPlayback::ReplayPlayback(const Replay& replay) : frames_(replay.runs) {}

bool ReplayPlayback::next(double& dt) {
  ReplayFrame frame{};
  if (!frames_.next(frame)) return false;
  switches_.show(frame.input);
  dt = frame.dt;
  return true;
}

int ReplayPlayback::framesPerUpdate() {
  if (normalSpeed_.isDown()) speed_ = 1;
  if (doubleSpeed_.isDown()) speed_ = 2;
  return speed_;
}
