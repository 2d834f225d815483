#include "sim/simulator.h"

#include "app/input_snapshot.h"
#include "app/switch.h"
#include "entities/avatar.h"
#include "sim/trace.h"
#include "themes/themes.h"
#include "world/tag.h"

Simulator::Simulator(const char* levelFile, int levelIndex)
    : state_(std::make_unique<PlayState>(levelIndex, levelFile, *themes[0])) {}

Simulator::~Simulator() {
  if (currentState() == state_.get()) setCurrentState(nullptr);
}

void Simulator::step(const std::vector<int>& heldKeys, double dt) {
  hold(heldKeys);
  state_->update(dt);
  ++frames_;
}

void Simulator::hold(const std::vector<int>& heldKeys) {
  state_->keyboard = ALLEGRO_KEYBOARD_STATE{};
  for (int key : heldKeys) setKeyDown(state_->keyboard, key, true);
  setCurrentState(state_.get());
  refreshRootSwitches();
}

std::string Simulator::trace() const {
  std::string text = frameLine(frames_, state_->context->channelStates) + "\n";
  for (Entity* entity : state_->world->byTag(tagOf("dyna"))) {
    std::string line = traceLine(*entity);
    if (!line.empty()) text += line + "\n";
  }
  return text;
}

std::string Simulator::end() const { return endLine(frames_, *state_->world, *state_->context); }

Avatar* Simulator::avatar() const { return static_cast<Avatar*>(state_->world->first(tagOf("avat"))); }
