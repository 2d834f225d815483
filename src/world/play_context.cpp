#include "world/play_context.h"

namespace {
PlayContext* current = nullptr;
}

PlayContext::PlayContext() : grid(std::make_unique<Level>()) {}

// The grid deletes the tiles entered in it. A context that is still current is unset, so no
// entity can reach a deleted grid through the current pointer.
PlayContext::~PlayContext() {
  if (current == this) current = nullptr;
}

PlayContext* currentPlayContext() { return current; }

void setCurrentPlayContext(PlayContext* context) { current = context; }
