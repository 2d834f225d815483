#include "sim/replay_keys.h"

#include <allegro5/allegro.h>

#include "app/switch.h"
#include "replay/replay_frames.h"
#include "sim/simulator.h"

namespace {

std::vector<int> heldArrows(const PlayInput& input) {
  std::vector<int> keys;
  if (input.left) keys.push_back(ALLEGRO_KEY_LEFT);
  if (input.right) keys.push_back(ALLEGRO_KEY_RIGHT);
  if (input.up) keys.push_back(ALLEGRO_KEY_UP);
  if (input.down) keys.push_back(ALLEGRO_KEY_DOWN);
  return keys;
}

}  // namespace

std::vector<int> keysFor(const PlayInput& input) {
  std::vector<int> keys = heldArrows(input);
  if (input.jump) keys.push_back(ALLEGRO_KEY_Z);
  if (input.action) keys.push_back(ALLEGRO_KEY_X);
  return keys;
}

void playReplayFrame(Simulator& simulator, const PlayInput& previous, const ReplayFrame& frame) {
  // A key fires again only after a refresh has seen it up. In the game two updates in a row
  // read a press only when a pause lay between them, in which the key was let go: let go for
  // one refresh that updates nothing, as the pause did.
  if ((previous.jump && frame.input.jump) || (previous.action && frame.input.action))
    simulator.hold(heldArrows(frame.input));
  simulator.step(keysFor(frame.input), frame.dt);
}

std::optional<std::string> playReplay(Simulator& simulator, const Replay& replay,
                                      const std::function<void()>& afterFrame) {
  ReplayFrames frames(replay.runs);
  ReplayFrame frame{};
  PlayInput previous;
  while (frames.next(frame)) {
    playReplayFrame(simulator, previous, frame);
    previous = frame.input;
    if (afterFrame) afterFrame();
  }
  return outcomeMismatch(replay, simulator.outcome(), simulator.elapsed());
}

PlayInput gameControlsInput() {
  Switch** controls = Controls();
  return PlayInput{controls[kControlLeft]->isDown(), controls[kControlRight]->isDown(),
                   controls[kControlUp]->isDown(),   controls[kControlDown]->isDown(),
                   controls[kControlJump]->isDown(), controls[kControlAction]->isDown()};
}
