#include "sim/simulator.h"

#include "app/input_snapshot.h"
#include "app/switch.h"
#include "entities/avatar.h"
#include "sim/trace.h"
#include "themes/themes.h"
#include "world/tag.h"

PlayedLevel playedAtIndex(int levelIndex) {
  PlayedLevel played;
  if (levelIndex == kFinalScreenIndex) played.kind = PlayKind::FinalScreen;
  if (levelIndex >= 0) {
    played.kind = PlayKind::Numbered;
    played.number = levelIndex + 1;
  }
  return played;
}

Simulator::Simulator(const char* levelFile, int levelIndex) : Simulator(levelFile, playedAtIndex(levelIndex)) {}

Simulator::Simulator(const char* levelFile, PlayedLevel played)
    : state_(std::make_unique<PlayState>(std::move(played), levelFile, *themes[0])) {}

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
  std::string text = frameLine(frames_, state_->session().context().channelStates) + "\n";
  for (Entity* entity : state_->session().world().byTag(tagOf("dyna"))) {
    std::string line = traceLine(*entity);
    if (!line.empty()) text += line + "\n";
  }
  return text;
}

std::string Simulator::end() const { return endLine(frames_, state_->session().world(), state_->session().context()); }

Avatar* Simulator::avatar() const { return state_->session().avatar(); }

Outcome Simulator::outcome() const {
  Avatar* played = avatar();
  return played ? played->outcome() : Outcome{};
}

double Simulator::elapsed() const { return state_->session().context().elapsedTime; }
