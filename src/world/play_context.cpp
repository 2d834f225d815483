#include "world/play_context.h"

PlayControls PlayControls::game() {
  Switch** table = Controls();
  return PlayControls{table[kControlLeft], table[kControlRight], table[kControlUp],
                      table[kControlDown], table[kControlJump],  table[kControlAction]};
}

PlayContext::PlayContext() : grid(std::make_unique<Level>()) {}
