// levelshot: a picture of a level as loaded, every switch channel on.
//   levelshot LEVEL.lv OUT.png [THEME]
// THEME is a theme's name (Sky, Sunset, Mist, Night, Crooked, Liquor; any case) or its menu
// index 0 to 5; Sky by default. Needs a display: run it under scripts/headless. Draws the sky,
// the theme's layers and every entity of the level in draw order (no clouds) and saves the
// picture as PNG. No frame is played, so the levers and press pads have not yet set their
// channels: blocks that start switched off show solid. Exits 1 with one line on bad input.

#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/blend.h"
#include "app/geometry.h"
#include "entities/prototypes.h"
#include "game/fatal.h"
#include "game/tool_display.h"
#include "themes/themes.h"
#include "world/play_context.h"
#include "world/world.h"

namespace {

[[noreturn]] void failWith(const char* message, const char* detail) {
  std::fprintf(stderr, "levelshot: %s%s\n", message, detail);
  std::exit(1);
}

Theme* findTheme(const char* wanted) {
  for (int i = 0; i < kThemeCount; ++i) {
    bool byIndex = wanted[0] == '0' + i && wanted[1] == '\0';
    if (byIndex || strcasecmp(wanted, themes[i]->name()) == 0) return themes[i];
  }
  failWith("no theme called ", wanted);
}

ALLEGRO_DISPLAY* openDisplay() {
  Result<ALLEGRO_DISPLAY*> display = openToolDisplay();
  if (!display.ok()) failWith(display.problem().message.c_str(), "");
  setLoadFailureHandler(endWithLoadFailure);
  al_set_new_bitmap_flags(ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  return display.value();
}

// Translucent drawing leaves the back buffer's alpha below one in places; the picture keeps
// the colours as shown and is made opaque.
void makeOpaque() {
  al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ZERO, ALLEGRO_ONE, ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
  al_draw_filled_rectangle(0, 0, kScreenWidth, kScreenHeight, al_map_rgba(0, 0, 0, 255));
  resetBlender();
}

void drawLevel(World& world, Theme& theme) {
  al_clear_to_color(al_map_rgb(0, 0, 0));
  drawSky(theme);
  theme.beforeEntities();
  world.draw();
  theme.afterEntities();
  makeOpaque();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fputs("usage: levelshot LEVEL.lv OUT.png [THEME]\n", stderr);
    return 2;
  }
  ALLEGRO_DISPLAY* display = openDisplay();
  createThemes();
  Theme& theme = *findTheme(argc == 4 ? argv[3] : "Sky");
  World world;
  Result<> loaded = readLevel(argv[1], world);
  if (!loaded.ok()) failWith(loaded.problem().message.c_str(), "");
  world.flush();
  PlayContext context;
  context.theme = &theme;
  world.context = &context;
  context.grid->build(world);
  drawLevel(world, theme);
  if (!al_save_bitmap(argv[2], al_get_backbuffer(display))) failWith("cannot write ", argv[2]);
  al_destroy_display(display);
  return 0;
}
