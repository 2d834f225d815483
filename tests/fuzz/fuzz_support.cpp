#include "fuzz_support.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/music.h"
#include "themes/themes.h"

const std::string& fuzzFileWith(const uint8_t* data, size_t size) {
  // Memory-backed where the system has it: millions of inputs are written here.
  static const std::string path =
      std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/binhopper-fuzz-" + std::to_string(getpid());
  // With it go the files readers make beside it: a damaged progress file's copy and the lock.
  static const bool removedAtExit = [] {
    return std::atexit([] {
             for (const char* suffix : {"", ".bad", ".lock"}) std::remove((path + suffix).c_str());
           }) == 0;
  }();
  (void)removedAtExit;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
  return path;
}

void initLibraryForFuzzing() {
  static const bool ready = [] {
    // As the simulator: level objects load their sheets and sounds from media/ when made.
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    al_init_image_addon();
    al_init_font_addon();
    al_init_ttf_addon();
    al_init_primitives_addon();
    al_init_acodec_addon();
    al_set_new_bitmap_flags(ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    initMusic(1);
    createThemes();
    return true;
  }();
  (void)ready;
}
