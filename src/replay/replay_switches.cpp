#include "replay/replay_switches.h"

void ReplaySwitches::show(const PlayInput& input) {
  left_.down = input.left;
  right_.down = input.right;
  up_.down = input.up;
  down_.down = input.down;
  jump_.down = input.jump;
  action_.down = input.action;
}

PlayControls ReplaySwitches::controls() const { return PlayControls{&left_, &right_, &up_, &down_, &jump_, &action_}; }

PlayInput readInput(const PlayControls& controls) {
  return PlayInput{controls.left->isDown(), controls.right->isDown(), controls.up->isDown(),
                   controls.down->isDown(), controls.jump->isDown(),  controls.action->isDown()};
}
