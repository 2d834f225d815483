// binhopper-bench: how long the game takes to update and to draw a level, frame by frame.
//   binhopper-bench [--unbatched] [--record N [--ghost]] LEVEL.lv [FRAMES]
// Needs a display: run it under scripts/headless (or on a desktop). Plays the level with no
// keys held through the real PlayState at the game's minimum frame time, drawing and flipping
// every frame as the game's loop does, and prints the update and draw times per frame (median,
// 99th percentile, worst) and the draw calls per frame the drawing layer sent (mean, most).
// --unbatched draws the old way, every drawing its own call and every image its own texture.
// --record N records the run as the game records level N of the built-in campaign (nothing is
// written: the run never ends); --ghost also races the level's best run, the player's own or
// the shipped one, as if level N were completed.

#include <allegro5/allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/blend.h"
#include "app/geometry.h"
#include "app/library.h"
#include "app/switch.h"
#include "campaign/progress.h"
#include "game/fatal.h"
#include "states/play_state.h"
#include "themes/themes.h"

namespace {

constexpr double kFrameTime = 0.017;  // s, the game's minimum frame
constexpr int kDefaultFrames = 1000;
constexpr long kMostFrames = 1000000;  // about five hours of play

// One value per frame; sorted for the percentiles when printed.
class Samples {
 public:
  void add(double value) { values_.push_back(value); }
  double percentile(double fraction) {
    std::sort(values_.begin(), values_.end());
    auto index = static_cast<size_t>(fraction * (values_.size() - 1) + 0.5);
    return values_[index];
  }
  double mean() const {
    double total = 0;
    for (double value : values_) total += value;
    return total / values_.size();
  }
  void printTimes(const char* what) {
    std::printf("%-7s p50 %8.1f us   p99 %8.1f us   worst %8.1f us\n", what, percentile(0.5) * 1e6,
                percentile(0.99) * 1e6, percentile(1.0) * 1e6);
  }
  void printCounts(const char* what) { std::printf("%-7s mean %6.1f   max %4.0f\n", what, mean(), percentile(1.0)); }

 private:
  std::vector<double> values_;
};

ALLEGRO_DISPLAY* openDisplay() {
  if (!startLibrary().ok()) return nullptr;
  setLoadFailureHandler(endWithLoadFailure);
  al_set_new_display_flags(ALLEGRO_OPENGL | ALLEGRO_WINDOWED);
  al_set_new_display_option(ALLEGRO_VSYNC, 2, ALLEGRO_SUGGEST);
  ALLEGRO_DISPLAY* display = al_create_display(kScreenWidth, kScreenHeight);
  if (display) resetBlender();
  return display;
}

// The whole text as a frame count within reason; "abc" or "0" is no count.
bool readFrames(const char* text, int& frames) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > kMostFrames) return false;
  frames = static_cast<int>(value);
  return true;
}

// Leading options, each taken off the front of argv; false on a bad level number.
struct Options {
  bool unbatched = false;
  int recordedLevel = 0;  // 0: no recording
  bool ghost = false;
};

bool readOptions(int& argc, char**& argv, Options& options) {
  while (argc > 1) {
    if (std::strcmp(argv[1], "--unbatched") == 0) {
      options.unbatched = true;
    } else if (std::strcmp(argv[1], "--ghost") == 0) {
      options.ghost = true;
    } else if (std::strcmp(argv[1], "--record") == 0 && argc > 2) {
      options.recordedLevel = std::atoi(argv[2]);
      if (options.recordedLevel < 1 || options.recordedLevel > 255) return false;
      ++argv;
      --argc;
    } else {
      return true;
    }
    ++argv;
    --argc;
  }
  return true;
}

void keepRuns(PlayState& state, const Options& options, const char* level) {
  if (!options.recordedLevel) return;
  progress().ensureRecords(options.recordedLevel);
  progress().records[options.recordedLevel - 1].completed = true;
  state.session().keepRuns("levels", options.recordedLevel, level, options.ghost);
  if (options.ghost && !state.session().ghost()) std::printf("no best run to race\n");
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  int frames = kDefaultFrames;
  if (!readOptions(argc, argv, options) || argc < 2 || argc > 3 || (argc == 3 && !readFrames(argv[2], frames))) {
    std::fputs(
        "usage: binhopper-bench [--unbatched] [--record N [--ghost]] LEVEL.lv [FRAMES]   (FRAMES from 1 to 1000000)\n",
        stderr);
    return 2;
  }
  bool unbatched = options.unbatched;
  setBatchedDrawing(!unbatched);
  ALLEGRO_DISPLAY* display = openDisplay();
  if (!display) {
    std::fputs("binhopper-bench: cannot open a display (run under scripts/headless)\n", stderr);
    return 1;
  }
  createThemes();
  Controls();
  auto state = std::make_unique<PlayState>(PlayedLevel{}, argv[1], *themes[0]);
  keepRuns(*state, options, argv[1]);
  setCurrentState(state.get());
  Samples update, draw, calls;
  for (int frame = 0; frame < frames; ++frame) {
    double start = al_get_time();
    state->update(kFrameTime);
    double updated = al_get_time();
    resetDrawCallCount();
    al_clear_to_color(al_map_rgb(0, 0, 0));
    beginFrame();
    state->draw(display);
    endFrame();
    al_flip_display();
    update.add(updated - start);
    draw.add(al_get_time() - updated);
    calls.add(drawCallCount());
  }
  std::printf("%s: %d frames, %zu entities at the end, %s drawing\n", argv[1], frames,
              state->session().world().byTag(tagOf("entt")).size(), unbatched ? "unbatched" : "batched");
  update.printTimes("update");
  draw.printTimes("draw");
  calls.printCounts("calls");
  setCurrentState(nullptr);
  state.reset();
  al_destroy_display(display);
  return 0;
}
