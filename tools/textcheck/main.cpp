// textcheck: every text of the menu (its captions, buttons and a level's information, of a
// completed level and of a locked one), of the Options screen and of the final scene stands out
// from what is drawn around it by at least 4.5:1, in every theme, at several moments of the live
// scene behind it.
//   textcheck [--write DIR]   prints the lowest contrast found in each theme and the text it
//                             was; with --write also saves every picture measured in DIR
// Exits 1 when a text falls below 4.5:1 or cannot be found in the picture. Run from the game's
// folder under scripts/headless.
//
// A text's pixels are those of its own colour (each channel within kInkTolerance) inside the
// band it is drawn on; its surroundings are the band's other pixels, less those touching a text
// pixel (the glyphs' smoothed edges and shadow). The contrast is WCAG's, (L1 + 0.05) / (L2 +
// 0.05) of relative luminances, taken between the text's typical brightness (the 90th
// percentile of its pixels) and the brightest of its surroundings (the 95th percentile, so that
// a stray edge pixel of a thin stroke does not decide it).

#include <allegro5/allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/blend.h"
#include "app/music.h"
#include "app/resource.h"
#include "app/switch.h"
#include "campaign/campaign.h"
#include "campaign/progress.h"
#include "game/tool_display.h"
#include "gui/gui_text.h"
#include "gui/level_button.h"
#include "gui/text_backing.h"
#include "states/options_state.h"
#include "states/title_state.h"
#include "themes/themes.h"
#include "world/tag.h"

namespace {

constexpr int kScreenWidth = 800;     // px
constexpr int kScreenHeight = 600;    // px
constexpr double kFrameTime = 0.017;  // s
constexpr double kLeastContrast = 4.5;
constexpr int kInkTolerance = 60;                // of 255, per channel
constexpr int kSceneMoments[] = {30, 240, 480};  // frames of the live scene before each look
constexpr int kFinalMoments[] = {60, 300};       // frames of the final scene
constexpr int kCompletedLevel = 0, kLockedLevel = 5;
const ALLEGRO_COLOR kWhite = {1, 1, 1, 1};
const ALLEGRO_COLOR kYellow = {1, 1, 0, 1};

using Pixels = std::vector<unsigned char>;  // RGBA rows

[[noreturn]] void failWith(const std::string& message) {
  std::fprintf(stderr, "textcheck: %s\n", message.c_str());
  std::exit(2);
}

ALLEGRO_DISPLAY* openDisplay() {
  Result<ALLEGRO_DISPLAY*> display = openToolDisplay();
  if (!display.ok()) failWith(display.problem().message);
  return display.value();
}

// One frame as the game's loop draws it, read back before the flip; saved when asked.
Pixels drawFrame(AppStateBase& state, ALLEGRO_DISPLAY* display, const std::string& savedAs) {
  al_set_target_backbuffer(display);
  al_clear_to_color(al_map_rgb(0, 0, 0));
  beginFrame();
  state.draw(display);
  endFrame();
  ALLEGRO_BITMAP* back = al_get_backbuffer(display);
  if (!savedAs.empty() && !al_save_bitmap(savedAs.c_str(), back)) failWith("cannot write " + savedAs);
  Pixels pixels(kScreenWidth * kScreenHeight * 4);
  ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(back, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
  if (!region) failWith("cannot read a picture");
  for (int row = 0; row < kScreenHeight; ++row) {
    std::memcpy(&pixels[row * kScreenWidth * 4], static_cast<const char*>(region->data) + row * region->pitch,
                kScreenWidth * 4);
  }
  al_unlock_bitmap(back);
  al_flip_display();
  return pixels;
}

double channelLight(double value) {
  double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const unsigned char* rgb) {
  return 0.2126 * channelLight(rgb[0]) + 0.7152 * channelLight(rgb[1]) + 0.0722 * channelLight(rgb[2]);
}

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(share * (values.size() - 1))];
}

// A line of text as drawn: where, and in which colour.
struct Text {
  std::string text;
  double x, y;  // its centre and top
  ALLEGRO_COLOR colour;
};

bool isInk(const unsigned char* rgb, const ALLEGRO_COLOR& colour) {
  const float nominal[] = {colour.r, colour.g, colour.b};
  for (int channel = 0; channel < 3; ++channel) {
    if (std::abs(rgb[channel] - static_cast<int>(nominal[channel] * 255)) > kInkTolerance) return false;
  }
  return true;
}

// The text's contrast with its surroundings; 0 when the picture does not show it.
double contrastOf(const Pixels& pixels, ALLEGRO_FONT* font, const Text& text) {
  Box band = textBacking(font, text.x, text.y, ALLEGRO_ALIGN_CENTRE, text.text);
  int left = std::max(0, static_cast<int>(band.left)), right = std::min(kScreenWidth, static_cast<int>(band.right));
  int top = std::max(0, static_cast<int>(band.top)), bottom = std::min(kScreenHeight, static_cast<int>(band.bottom));
  auto at = [&](int x, int y) { return &pixels[(y * kScreenWidth + x) * 4]; };
  auto inkNear = [&](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        int nx = x + dx, ny = y + dy;
        if (nx >= left && nx < right && ny >= top && ny < bottom && isInk(at(nx, ny), text.colour)) return true;
      }
    }
    return false;
  };
  std::vector<double> ink, around;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (isInk(at(x, y), text.colour)) {
        ink.push_back(luminance(at(x, y)));
      } else if (!inkNear(x, y)) {
        around.push_back(luminance(at(x, y)));
      }
    }
  }
  if (ink.size() < 3 || around.size() < 10) return 0.0;
  return (percentile(ink, 0.9) + 0.05) / (percentile(around, 0.95) + 0.05);
}

// Every text of a world's widgets: texts, button labels and a level's information.
std::vector<Text> textsOf(World& world) {
  std::vector<Text> texts;
  for (Entity* entity : world.byTag(tagOf("rndr"))) {
    if (auto* text = dynamic_cast<GuiText*>(entity)) {
      if (!text->text.empty()) texts.push_back({text->text, text->x(), text->y(), kWhite});
    }
    auto* button = dynamic_cast<GuiButton*>(entity);
    if (!button) continue;
    if (!button->label.empty())
      texts.push_back({button->label, button->labelX(), button->labelY(), button->labelColour()});
    if (auto* level = dynamic_cast<LevelButton*>(entity)) {
      for (const InformationLine& line : level->information())
        texts.push_back({line.text, kScreenWidth / 2.0, line.y, line.highlighted ? kYellow : kWhite});
    }
  }
  return texts;
}

class Check {
 public:
  Check(ALLEGRO_DISPLAY* display, const char* folder) : display_(display), folder_(folder) {}

  // Draws the state and measures the texts it shows.
  void look(AppStateBase& state, World& widgets, const std::string& scene) {
    std::string savedAs = folder_ ? std::string(folder_) + "/" + theme_ + "-" + scene + ".png" : "";
    Pixels pixels = drawFrame(state, display_, savedAs);
    for (const Text& text : textsOf(widgets)) {
      double contrast = contrastOf(pixels, font_, text);
      if (contrast < lowest_) {
        lowest_ = contrast;
        lowestText_ = scene + ", '" + text.text + "'";
      }
    }
  }
  void startTheme(const std::string& name) {
    theme_ = name;
    lowest_ = 1e9;
  }
  // One line for the theme; false when it falls short.
  bool reportTheme() {
    std::printf("%-8s lowest contrast %5.2f:1  (%s)\n", theme_.c_str(), lowest_, lowestText_.c_str());
    bool enough = lowest_ >= kLeastContrast;
    failed_ = failed_ || !enough;
    return enough;
  }
  bool failed() const { return failed_; }

 private:
  ALLEGRO_DISPLAY* display_;
  const char* folder_;
  ALLEGRO_FONT* font_ = fontResource("media/font.ttf");
  std::string theme_;
  double lowest_ = 1e9;
  std::string lowestText_;
  bool failed_ = false;
};

// The menu with the mouse on a level's button, so its information shows.
void lookAtMenu(Check& check, TitleState& title, int levelIndex, const std::string& scene) {
  for (const MenuButton& button : title.menu().buttons()) {
    if (button.action != MenuAction::PlayLevel || button.level != levelIndex) continue;
    title.mouse.x = static_cast<int>((button.place.left + button.place.right) / 2);
    title.mouse.y = static_cast<int>((button.place.top + button.place.bottom) / 2);
  }
  refreshRootSwitches();
  title.update(kFrameTime);
  check.look(title, title.widgets(), scene);
}

void checkTheme(Check& check, int themeIndex) {
  Theme& theme = *themes[themeIndex];
  check.startTheme(theme.name());
  TitleState title;
  title.menu().useTheme(themeIndex);
  setCurrentState(&title);
  int played = 0;
  for (int moment : kSceneMoments) {
    for (; played < moment; ++played) title.update(kFrameTime);
    std::string when = std::to_string(moment);
    lookAtMenu(check, title, kCompletedLevel, "menu-completed-" + when);
    lookAtMenu(check, title, kLockedLevel, "menu-locked-" + when);
  }
  Settings settings;
  OptionsState options(settings, title.scene());
  setCurrentState(&options);
  options.update(kFrameTime);
  check.look(options, *options.world, "options");
  PlayState finale(title.menu().finalScreen(), "levels/winner.lv", theme);
  setCurrentState(&finale);
  played = 0;
  for (int moment : kFinalMoments) {
    for (; played < moment; ++played) finale.update(kFrameTime);
    check.look(finale, finale.session().world(), "final-" + std::to_string(moment));
  }
  setCurrentState(nullptr);
  check.reportTheme();
}

// A record with a level completed with both crowns (its information in yellow), one completed
// plainly, and locked levels.
void prepareRecord() {
  progress().ensureRecords(loadCampaign("levels", CampaignOrigin::BuiltIn).levelCount());
  progress().recordCompletion(kCompletedLevel, true, 1.0);
  progress().recordCompletion(kCompletedLevel + 1, false, 1.0);
}

}  // namespace

int main(int argc, char** argv) {
  const char* folder = argc == 3 && std::strcmp(argv[1], "--write") == 0 ? argv[2] : nullptr;
  if (argc != 1 && !folder) {
    std::fputs("usage: textcheck [--write DIR]\n", stderr);
    return 2;
  }
  ALLEGRO_DISPLAY* display = openDisplay();
  initMusic(1);
  prepareRecord();
  createThemes();
  Controls();
  Check check(display, folder);
  for (int theme = 0; theme < kThemeCount; ++theme) checkTheme(check, theme);
  al_destroy_display(display);
  return check.failed() ? 1 : 0;
}
