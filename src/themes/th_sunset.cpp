#include "themes/th_sunset.h"

ALLEGRO_COLOR ThSunset::skyTop() const { return al_map_rgb(230, 130, 30); }

ALLEGRO_COLOR ThSunset::skyBottom() const { return al_map_rgb(230, 70, 70); }

ALLEGRO_COLOR ThSunset::cloudTint() const { return al_map_rgba(255, 220, 220, 128); }
