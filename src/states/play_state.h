#pragma once

#include <string>

#include "app/app_state.h"
#include "app/switch.h"
#include "states/pause.h"
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
  Pause pause;

 private:
  void addFinalScreenExtras();
  void finish(int playResult);
  void showCompletionReport();
  void showDeathReport(const std::string& reason);
  void drawClosingZoom();

  Key* escapeKey;
};

// The closing zoom after a completion: the next zoom factor (per update, not per second), and
// the part of the screen that is scaled up to fill it, kept inside the 800 x 600 screen.
double nextZoom(double zoom);
Box closingZoomSource(double zoom, double avatarX, double avatarY);
