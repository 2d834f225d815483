// Giving the window its icon before it is mapped is part of the library's unstable interface
// (stable within the Debian release the game is built on); without it the library's own icon
// shows until the first frame.
#define ALLEGRO_UNSTABLE
#include "game/game_icon.h"

#include <allegro5/allegro_x.h>

#include <string>

namespace {
// The sizes the desktop's icon theme is given at install, smallest first.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
}  // namespace

// Memory bitmaps: made before the display, they belong to none and outlive it.
GameIcon::GameIcon() {
  int flags = al_get_new_bitmap_flags();
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
  for (int size : kIconSizes) {
    std::string path = "media/icons/binhopper-" + std::to_string(size) + ".png";
    if (ALLEGRO_BITMAP* icon = al_load_bitmap(path.c_str())) sizes_.push_back(icon);
  }
  al_set_new_bitmap_flags(flags);
  if (!sizes_.empty()) al_x_set_initial_icon(sizes_.back());
}

GameIcon::~GameIcon() {
  for (ALLEGRO_BITMAP* icon : sizes_) al_destroy_bitmap(icon);
}

void GameIcon::applyTo(ALLEGRO_DISPLAY* display) const {
  if (!sizes_.empty())
    al_set_display_icons(display, static_cast<int>(sizes_.size()), const_cast<ALLEGRO_BITMAP**>(sizes_.data()));
}
