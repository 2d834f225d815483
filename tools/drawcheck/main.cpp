// drawcheck: the batched drawing must put the same pixels on screen as drawing every sprite,
// glyph and rectangle on its own.
//   drawcheck [--unbatched] --write DIR    draws every scene, saves it as DIR/<scene>.png and
//                                          prints the draw calls it took
//   drawcheck [--unbatched] --compare DIR  draws every scene and compares it in memory with
//                                          DIR/<scene>.png; exits 1 when one differs
// --unbatched draws the old way: every drawing its own draw call, every image its own texture.
// Scenes: every shipped numbered level, the title and final scenes and the title menu, each in
// every theme, after a second of play; level 1 also under a report and a closing zoom.
// Colours must agree within the rounding described at kRoundingTolerance.
// Run from the game's folder under scripts/headless. Both runs make the same random draws.

#include <allegro5/allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/blend.h"
#include "app/music.h"
#include "app/safe_file.h"
#include "app/switch.h"
#include "campaign/campaign.h"
#include "campaign/progress.h"
#include "game/tool_display.h"
#include "sim/simulator.h"
#include "states/title_state.h"
#include "themes/themes.h"
#include "world/theme.h"

namespace {

constexpr int kScreenWidth = 800;     // px
constexpr int kScreenHeight = 600;    // px
constexpr double kFrameTime = 0.017;  // s
constexpr int kWarmUpFrames = 60;
constexpr double kZoom = 1.7;
// The software rasteriser rounds the sky's colour gradient and some blends a unit or two
// differently depending on the draw calls around them (whole 64 × 64 tiles of sky shift by one).
constexpr int kRoundingTolerance = 2;  // of 255, per colour channel
// Held drawing transforms vertices on the CPU, not in GL: under the tilting themes a pixel
// centre that lies on a rotated sprite edge may fall to the other side, and a glow drawn at a
// half-pixel position may take the neighbouring texel. A few such pixels per picture.
constexpr int kOutlierLimit = 64;  // colour values per picture
// The back buffer's alpha is never shown, so it is not compared.

struct BitmapDestroyer {
  void operator()(ALLEGRO_BITMAP* bitmap) const { al_destroy_bitmap(bitmap); }
};
using BitmapPointer = std::unique_ptr<ALLEGRO_BITMAP, BitmapDestroyer>;
using Pixels = std::vector<unsigned char>;

[[noreturn]] void failWith(const std::string& message) {
  std::fprintf(stderr, "drawcheck: %s\n", message.c_str());
  std::exit(2);
}

ALLEGRO_DISPLAY* openDisplay() {
  Result<ALLEGRO_DISPLAY*> display = openToolDisplay();
  if (!display.ok()) failWith(display.problem().message);
  return display.value();
}

Pixels readPixels(ALLEGRO_BITMAP* bitmap) {
  Pixels pixels(kScreenWidth * kScreenHeight * 4);
  ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
  if (!region) failWith("cannot read a picture");
  for (int row = 0; row < kScreenHeight; ++row) {
    std::memcpy(&pixels[row * kScreenWidth * 4], static_cast<const char*>(region->data) + row * region->pitch,
                kScreenWidth * 4);
  }
  al_unlock_bitmap(bitmap);
  return pixels;
}

// One frame as the game's loop draws it, read back before the flip.
Pixels drawFrame(AppStateBase& state, ALLEGRO_DISPLAY* display) {
  al_set_target_backbuffer(display);
  al_clear_to_color(al_map_rgb(0, 0, 0));
  resetDrawCallCount();
  beginFrame();
  state.draw(display);
  endFrame();
  Pixels pixels = readPixels(al_get_backbuffer(display));
  al_flip_display();
  return pixels;
}

class Checker {
 public:
  Checker(const std::string& folder, bool write) : folder_(folder), write_(write) {}
  void check(const std::string& scene, const Pixels& pixels);
  int differingScenes() const { return differing_; }

 private:
  void save(const std::string& path, const Pixels& pixels) const;
  void compare(const std::string& scene, const std::string& path, const Pixels& pixels);

  std::string folder_;
  bool write_;
  int differing_ = 0;
};

void Checker::check(const std::string& scene, const Pixels& pixels) {
  std::string path = folder_ + "/" + scene + ".png";
  if (write_) {
    std::printf("%-20s %4ld draw calls\n", scene.c_str(), drawCallCount());
    save(path, pixels);
  } else {
    compare(scene, path, pixels);
  }
}

void Checker::save(const std::string& path, const Pixels& pixels) const {
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
  BitmapPointer picture(al_create_bitmap(kScreenWidth, kScreenHeight));
  ALLEGRO_LOCKED_REGION* region =
      al_lock_bitmap(picture.get(), ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
  for (int row = 0; row < kScreenHeight; ++row) {
    std::memcpy(static_cast<char*>(region->data) + row * region->pitch, &pixels[row * kScreenWidth * 4],
                kScreenWidth * 4);
  }
  al_unlock_bitmap(picture.get());
  al_set_new_bitmap_flags(0);
  if (!al_save_bitmap(path.c_str(), picture.get())) failWith("cannot write " + path);
}

void Checker::compare(const std::string& scene, const std::string& path, const Pixels& pixels) {
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
  BitmapPointer expected(isRegularFile(path) ? al_load_bitmap_flags(path.c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA)
                                             : nullptr);
  al_set_new_bitmap_flags(0);
  if (!expected) failWith("cannot read " + path);
  Pixels old = readPixels(expected.get());
  int differing = 0, outliers = 0, largest = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (i % 4 == 3) continue;
    int difference = std::abs(pixels[i] - old[i]);
    differing += difference != 0;
    outliers += difference > kRoundingTolerance;
    largest = std::max(largest, difference);
  }
  bool failed = outliers > kOutlierLimit;
  differing_ += failed;
  std::printf("%-20s %7d colour values differ, %3d by more than %d (up to %d)%s\n", scene.c_str(), differing, outliers,
              kRoundingTolerance, largest, failed ? "  TOO MANY" : "");
}

// The menu in front of the title scene; its widgets come in at the first update.
void checkMenu(Checker& checker, ALLEGRO_DISPLAY* display, Theme& theme) {
  TitleState title;
  for (int i = 0; i < kThemeCount; ++i) {
    if (themes[i] == &theme) title.menu().useTheme(i);
  }
  setCurrentState(&title);
  title.scene().update(kFrameTime);
  title.update(kFrameTime);
  checker.check(std::string("menu-") + theme.name(), drawFrame(title, display));
  setCurrentState(nullptr);
}

// Level 1 also under a report panel and with the picture zoomed on the avatar.
void checkLevel(Checker& checker, ALLEGRO_DISPLAY* display, const std::string& file, int index, Theme& theme) {
  std::string scene = (index >= 0 ? std::to_string(index + 1) : index == -1 ? "title" : "winner") + "-" + theme.name();
  // Each scene starts from the same random numbers, so that what it shows (the final scene's
  // fireworks) does not change with the levels drawn before it.
  std::srand(1);
  PlayState state(playedAtIndex(index), file.c_str(), theme);
  setCurrentState(&state);
  for (int frame = 0; frame < kWarmUpFrames; ++frame) state.update(kFrameTime);
  checker.check(scene, drawFrame(state, display));
  if (index == 0 && state.session().avatar()) {
    Report report;
    report.lines = {{"Zoomed in:", "yes"}};
    report.choices = {{{ReportKey::Space}, ReportAction::Next, "next level"},
                      {{ReportKey::R}, ReportAction::Retry, "retry"},
                      {{ReportKey::Escape}, ReportAction::Leave, "back to menu"}};
    state.showReport(report);
    state.zoomTo(kZoom);
    checker.check(scene + "-report", drawFrame(state, display));
  }
  setCurrentState(nullptr);
}

void checkTheme(Checker& checker, ALLEGRO_DISPLAY* display, int themeIndex, int levels) {
  Theme& theme = *themes[themeIndex];
  for (int n = 1; n <= levels; ++n) checkLevel(checker, display, "levels/" + std::to_string(n) + ".lv", n - 1, theme);
  checkLevel(checker, display, "levels/title.lv", -1, theme);
  checkLevel(checker, display, "levels/winner.lv", -2, theme);
  checkMenu(checker, display, theme);
}

}  // namespace

int main(int argc, char** argv) {
  bool unbatched = argc > 1 && std::strcmp(argv[1], "--unbatched") == 0;
  argv += unbatched;
  argc -= unbatched;
  bool write = argc == 3 && std::strcmp(argv[1], "--write") == 0;
  bool compare = argc == 3 && std::strcmp(argv[1], "--compare") == 0;
  if (!write && !compare) {
    std::fputs("usage: drawcheck [--unbatched] --write DIR | drawcheck [--unbatched] --compare DIR\n", stderr);
    return 2;
  }
  setBatchedDrawing(!unbatched);
  ALLEGRO_DISPLAY* display = openDisplay();
  initMusic(1);
  int levels = loadCampaign("levels", CampaignOrigin::BuiltIn).levelCount();
  progress().load(levels);
  createThemes();
  Controls();
  Checker checker(argv[2], write);
  for (int theme = 0; theme < kThemeCount; ++theme) checkTheme(checker, display, theme, levels);
  al_destroy_display(display);
  if (compare) std::printf("drawcheck: %d scenes differ beyond rounding\n", checker.differingScenes());
  return checker.differingScenes() == 0 ? 0 : 1;
}
