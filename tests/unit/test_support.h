#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>

// Brings up the library and the add-ons the game code needs, without a display, keyboard,
// mouse or audio. Safe to call from every test: the library ignores repeated initialisation.
inline void initAllegroForTests() {
  ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
  ASSERT_TRUE(al_init_image_addon());
  ASSERT_TRUE(al_init_font_addon());
  ASSERT_TRUE(al_init_ttf_addon());
  ASSERT_TRUE(al_init_primitives_addon());
  ASSERT_TRUE(al_init_acodec_addon());
}
