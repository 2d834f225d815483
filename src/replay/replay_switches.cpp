#include "replay/replay_switches.h"

void ReplaySwitches::show(const PlayInput& input) {
  left_.down = input.left;
  right_.down = input.right;
  up_.down = input.up;
  down_.down = input.down;
  jump_.down = input.jump;
  action_.down = input.action;
}
