#pragma once

#include <memory>

#include "replay/replay.h"
#include "replay/replay_frames.h"
#include "replay/replay_switches.h"
#include "world/play_context.h"
#include "world/theme.h"
#include "world/world.h"

// A level's best run played beside the player's, one frame per update of the real level, in a
// world of its own that is never drawn; only its avatar is, translucent. It shares nothing with
// the real level: its own context, switches and random numbers, and no sound.
class Avatar;

class Ghost {
 public:
  // Null when the level file cannot be read.
  static std::unique_ptr<Ghost> open(const char* levelFile, const Replay& best, Theme& theme);
  Ghost(std::unique_ptr<World> level, const Replay& best, Theme& theme);
  ~Ghost();
  Ghost(const Ghost&) = delete;
  Ghost& operator=(const Ghost&) = delete;

  // The best run's next frame; after its last one the ghost stands still.
  void step();
  // The ghost's avatar, translucent, while its run lasts.
  void draw();
  // The avatar of the best run's level, or null.
  Avatar* avatar() const;

 private:
  // Swaps the C library's random numbers for the ghost's own while it lives, so the real
  // level draws exactly the numbers it would draw without a ghost.
  class OwnRandomNumbers {
   public:
    explicit OwnRandomNumbers(Ghost& ghost);
    ~OwnRandomNumbers();

   private:
    char* previous_;
  };

  static constexpr int kRandomStateBytes = 128;  // the C library's default generator
  alignas(8) char randomState_[kRandomStateBytes];
  ReplayFrames frames_;
  ReplaySwitches switches_;
  PlayContext context_;
  std::unique_ptr<World> world_;  // goes before the context, whose grid deletes the level's tiles
};
