#include "app/library.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdlib>

namespace {

Problem cannotStart(const char* message) { return fail(Failure::MissingResource, message); }

}  // namespace

// Only the system, images and TrueType stop the program; the results of the font, primitives
// and codec add-ons have never been examined.
Result<> startLibrary() {
  if (!al_install_system(ALLEGRO_VERSION_INT, atexit)) return cannotStart("Unable to initialize Allegro 5.");
  if (!al_init_image_addon()) return cannotStart("Unable to initialize IIO addon.");
  al_init_font_addon();
  if (!al_init_ttf_addon()) return cannotStart("Unable to initialize ttf addon.");
  al_init_primitives_addon();
  al_init_acodec_addon();
  return {};
}
