// binhopper-bench: how long the game takes to update and to draw a level, frame by frame.
//   binhopper-bench LEVEL.lv [FRAMES]
// Needs a display: run it under scripts/headless (or on a desktop). Plays the level with no
// keys held through the real PlayState at the game's minimum frame time, drawing and flipping
// every frame as the game's loop does, and prints the mean and worst times per frame.

#include <allegro5/allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/blend.h"
#include "app/geometry.h"
#include "app/library.h"
#include "app/switch.h"
#include "game/fatal.h"
#include "states/play_state.h"
#include "themes/themes.h"

namespace {

constexpr double kFrameTime = 0.017;  // s, the game's minimum frame
constexpr int kDefaultFrames = 1000;

struct Timing {
  double total = 0.0;  // s
  double worst = 0.0;  // s

  void add(double seconds) {
    total += seconds;
    worst = std::max(worst, seconds);
  }
  void print(const char* what, int frames) const {
    std::printf("%-7s mean %8.1f us   worst %8.1f us\n", what, total / frames * 1e6, worst * 1e6);
  }
};

ALLEGRO_DISPLAY* openDisplay() {
  if (!startLibrary().empty()) return nullptr;
  setLoadFailureHandler(endWithLoadFailure);
  al_set_new_display_flags(ALLEGRO_OPENGL | ALLEGRO_WINDOWED);
  al_set_new_display_option(ALLEGRO_VSYNC, 2, ALLEGRO_SUGGEST);
  ALLEGRO_DISPLAY* display = al_create_display(kScreenWidth, kScreenHeight);
  if (display) resetBlender();
  return display;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: binhopper-bench LEVEL.lv [FRAMES]\n", stderr);
    return 1;
  }
  int frames = argc == 3 ? std::atoi(argv[2]) : kDefaultFrames;
  if (frames <= 0) frames = kDefaultFrames;
  ALLEGRO_DISPLAY* display = openDisplay();
  if (!display) {
    std::fputs("binhopper-bench: cannot open a display (run under scripts/headless)\n", stderr);
    return 1;
  }
  createThemes();
  Controls();
  PlayState* state = new PlayState(-1, argv[1]);
  setCurrentState(state);
  Timing update, draw;
  for (int frame = 0; frame < frames; ++frame) {
    double start = al_get_time();
    state->update(kFrameTime);
    double updated = al_get_time();
    al_clear_to_color(al_map_rgb(0, 0, 0));
    state->draw(display);
    al_flip_display();
    update.add(updated - start);
    draw.add(al_get_time() - updated);
  }
  std::printf("%s: %d frames, %zu entities at the end\n", argv[1], frames, state->world->byTag(tagOf("entt")).size());
  update.print("update", frames);
  draw.print("draw", frames);
  setCurrentState(nullptr);
  delete state;
  al_destroy_display(display);
  return 0;
}
