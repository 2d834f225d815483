#pragma once

#include <memory>
#include <string>
#include <vector>

#include "entities/outcome.h"
#include "states/play_state.h"

class Avatar;

// binhopper-sim's level index: a numbered level's from 0, -1 for a level of no number, and this
// for the final screen.
constexpr int kFinalScreenIndex = -2;
PlayedLevel playedAtIndex(int levelIndex);

// Plays a level headless through the real PlayState, in the first theme (the themes must have
// been made): each step writes the held keys into the state's keyboard snapshot, makes it the
// current state, refreshes the switches as the game's loop does (so a key's on-press fires in
// the first frame it is held) and updates it.
class Simulator {
 public:
  Simulator(const char* levelFile, int levelIndex);
  Simulator(const char* levelFile, PlayedLevel played);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // One frame with these library key codes held and no others.
  void step(const std::vector<int>& heldKeys, double dt);
  // Refreshes the switches with these keys held and updates nothing, as in a frame of the
  // game's pause.
  void hold(const std::vector<int>& heldKeys);
  // The frame line and the lines of the traced "dyna" entities, each ending in a newline.
  std::string trace() const;
  std::string end() const;

  PlayState& state() { return *state_; }
  PlaySession& session() { return state_->session(); }
  // The level's avatar, or null.
  Avatar* avatar() const;
  // How the avatar's run stands (still playing where the level has no avatar), and the time it
  // has taken: what a replay's recorded end is compared with.
  Outcome outcome() const;
  double elapsed() const;  // s
  int frames() const { return frames_; }

 private:
  std::unique_ptr<PlayState> state_;
  int frames_ = 0;
};
