#pragma once

// How many frames an animation running at `framesPerSecond` moves on when its clock goes from
// `clock` to `clock + dt` seconds: the whole ticks of the clock crossed, not dt times the rate, so
// that short and long frames add up to the same animation.
inline int animationTicks(double clock, double dt, double framesPerSecond) {
  return static_cast<int>(static_cast<long>(framesPerSecond * (clock + dt)) -
                          static_cast<long>(framesPerSecond * clock));
}
