#pragma once

#include <string>

#include "app/app_state.h"
#include "app/switch.h"
#include "entities/pop_up.h"
#include "states/pause.h"
#include "world/play_context.h"
#include "world/world.h"

// The level index of the final screen; -1 is any other level that is not a numbered one.
constexpr int kFinalScreenIndex = -2;

// One level being played. Ends with result 0 (back to the menu), 1 (retry) or 2 (next level).
class PlayState : public AppState<int> {
 public:
  // Ends the process with the loader's message when the level cannot be read (the simulator,
  // the benchmark and the editor's test play stop there).
  PlayState(int levelIndex, const char* fileName);
  // Takes a world already filled with the level's pending records, and owns it.
  PlayState(int levelIndex, World* level);
  // Reads the level first, so a bad file never gets as far as a play state: on a problem gives
  // null and the loader's message in `problem`.
  static PlayState* open(int levelIndex, const char* fileName, std::string& problem);
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
  void keepProgress() const;
  void showCompletionReport();
  void showDeathReport(const std::string& reason);
  void drawClosingZoom();

  Key* escapeKey;
};

// The closing zoom after a completion: the next zoom factor (per update, not per second), and
// the part of the screen that is scaled up to fill it, kept inside the 800 x 600 screen.
double nextZoom(double zoom);
Box closingZoomSource(double zoom, double avatarX, double avatarY);
