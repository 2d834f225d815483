#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "replay/replay.h"

class Simulator;

// A replay played headless as held keys, so that it runs through the same play code as an
// input script; with the game's key bindings the two are the same thing.

// The library key codes that make the avatar read this input: the arrows it holds, and Z and X
// in a frame that presses jump or action.
std::vector<int> keysFor(const PlayInput& input);

// Plays one frame of a replay after the frame whose input was `previous`.
void playReplayFrame(Simulator& simulator, const PlayInput& previous, const ReplayFrame& frame);

// Plays all of a replay's frames in order, calling `afterFrame` after each, and says how the
// run's end differs from the outcome and time the replay recorded: nothing when they agree.
std::optional<std::string> playReplay(Simulator& simulator, const Replay& replay,
                                      const std::function<void()>& afterFrame = nullptr);

// What the avatar reads from the game's controls in the frame being played.
PlayInput gameControlsInput();
