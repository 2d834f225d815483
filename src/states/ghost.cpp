#include "states/ghost.h"

#include <cstdlib>

#include "app/blend.h"
#include "app/load_result.h"
#include "app/sound.h"
#include "entities/avatar.h"
#include "entities/prototypes.h"
#include "world/tag.h"

namespace {

const ALLEGRO_COLOR kGhostTint = {1.0f, 1.0f, 1.0f, 0.4f};

}  // namespace

Ghost::OwnRandomNumbers::OwnRandomNumbers(Ghost& ghost) : previous_(setstate(ghost.randomState_)) {
  setSoundsMuted(true);
}

Ghost::OwnRandomNumbers::~OwnRandomNumbers() {
  setSoundsMuted(false);
  setstate(previous_);
}

std::unique_ptr<Ghost> Ghost::open(const char* levelFile, const Replay& best, Theme& theme) {
  auto level = std::make_unique<World>();
  if (!readLevel(levelFile, *level).ok()) return nullptr;
  return std::make_unique<Ghost>(std::move(level), best, theme);
}

// The ghost draws the numbers a fresh process draws (seed 1), as the run plays in binhopper-sim.
// In the GNU C library rand() draws from random()'s generator, whose state setstate() swaps.
Ghost::Ghost(std::unique_ptr<World> level, const Replay& best, Theme& theme)
    : frames_(best.runs), world_(std::move(level)) {
  setstate(initstate(1, randomState_, sizeof randomState_));
  OwnRandomNumbers own(*this);
  context_.theme = &theme;
  context_.controls = switches_.controls();
  world_->context = &context_;
  world_->flush();
  context_.grid->build(*world_);
}

Ghost::~Ghost() = default;

void Ghost::step() {
  ReplayFrame frame{};
  if (!frames_.next(frame)) return;
  OwnRandomNumbers own(*this);
  switches_.show(frame.input);
  world_->update(frame.dt);
}

Avatar* Ghost::avatar() const { return world_->first<Avatar>(); }

void Ghost::draw() {
  Entity* shown = avatar();
  if (frames_.exhausted() || !shown) return;
  setBlendColour(kGhostTint);
  shown->draw();
  resetBlender();
}
