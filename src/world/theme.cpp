#include "world/theme.h"

#include "world/world.h"

ALLEGRO_COLOR Theme::skyTop() const { return al_map_rgb_f(0.58f, 0.85f, 1.0f); }

ALLEGRO_COLOR Theme::skyBottom() const { return al_map_rgb_f(0.3f, 0.55f, 1.0f); }

ALLEGRO_COLOR Theme::cloudTint() const { return al_map_rgba(255, 255, 255, 128); }

bool Theme::cloudBehind() { return randomInt(0, 2) != 0; }
