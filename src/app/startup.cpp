#include "app/startup.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdlib>

#include "app/blend.h"
#include "app/command_line.h"
#include "app/fatal.h"
#include "app/level_count.h"
#include "app/music.h"
#include "app/switch.h"
#include "editor/editor_state.h"
#include "states/progress.h"
#include "states/title_state.h"
#include "themes/theme.h"

namespace {

const int kScreenWidth = 800;
const int kScreenHeight = 600;

ALLEGRO_DISPLAY* openDisplay(bool fullScreen) {
  al_set_new_display_flags(ALLEGRO_OPENGL | (fullScreen ? ALLEGRO_FULLSCREEN : ALLEGRO_WINDOWED));
  al_set_new_display_option(ALLEGRO_VSYNC, 2, ALLEGRO_SUGGEST);
  ALLEGRO_DISPLAY* display = al_create_display(kScreenWidth, kScreenHeight);
  if (!display) fatal("Unable to create an OpenGL display.");
  return display;
}

}  // namespace

int runGame(int argc, char** argv) {
  LaunchOptions options = parseCommandLine(argc, argv);
  if (!al_install_system(ALLEGRO_VERSION_INT, atexit)) fatal("Unable to initialize Allegro 5.");
  if (!al_init_image_addon()) fatal("Unable to initialize IIO addon.");
  al_init_font_addon();
  if (!al_init_ttf_addon()) fatal("Unable to initialize ttf addon.");
  al_init_primitives_addon();
  al_init_acodec_addon();
  ALLEGRO_DISPLAY* display = openDisplay(options.fullScreen);
  resetBlender();
  al_install_keyboard();
  al_install_mouse();
  al_show_mouse_cursor(display);
  if (!al_install_audio()) fatal("Unable to initialize audio.");
  al_reserve_samples(16);
  initMusic(1);
  setMusicGain(loadMusic("media/dreamland.xm", 0), 0.25f);
  progress().load(countLevels());
  createThemes();
  Controls();
  if (options.editor) {
    EditorState editor(options.editorFile.empty() ? "levels/edit.lv" : options.editorFile);
    editor.run(nullptr);
  } else {
    TitleState title;
    title.run(nullptr);
    progress().save();
  }
  al_destroy_display(display);
  return 0;
}
