#pragma once

#include <allegro5/allegro.h>

#include <vector>

// The game's icon in every size the data holds. Made before the window, so that the window
// never shows the library's own icon, and kept as long as the window lives.
class GameIcon {
 public:
  GameIcon();
  ~GameIcon();
  GameIcon(const GameIcon&) = delete;
  GameIcon& operator=(const GameIcon&) = delete;

  // Gives the window the icon; without any icon file it keeps what it has.
  void applyTo(ALLEGRO_DISPLAY* display) const;

 private:
  std::vector<ALLEGRO_BITMAP*> sizes_;
};
