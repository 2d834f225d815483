#include "game/tool_display.h"

#include <allegro5/allegro.h>

#include "app/blend.h"
#include "app/geometry.h"
#include "app/library.h"

Result<ALLEGRO_DISPLAY*> openToolDisplay() {
  Result<> started = startLibrary();
  if (!started.ok()) return fail(started.kind(), "cannot start the library: " + started.problem().message);
  al_set_new_display_flags(ALLEGRO_OPENGL | ALLEGRO_WINDOWED);
  ALLEGRO_DISPLAY* display = al_create_display(kScreenWidth, kScreenHeight);
  if (!display) return fail(Failure::CannotOpen, "cannot open a display (run under scripts/headless)");
  resetBlender();
  return display;
}
