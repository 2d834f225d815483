#pragma once

#include "app/app_state.h"
#include "app/switch.h"
#include "states/play_context.h"
#include "states/pop_up.h"
#include "world/world.h"

// One level being played. Ends with result 0 (back to the menu), 1 (retry) or 2 (next level).
// Level index -1 is a level that is not a numbered one, -2 the final screen.
class PlayState : public AppState<int> {
 public:
  PlayState(int levelIndex, const char* fileName);
  ~PlayState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;
  bool onCloseRequest() override;

  int levelIndex;
  World* world;
  double zoom = 1.0;
  PopUp* report = nullptr;
  PlayContext* context;

 private:
  Key* escapeKey;
};
