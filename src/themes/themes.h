#pragma once

#include "world/theme.h"

constexpr int kThemeCount = 6;
// The six themes in menu order: Sky, Sunset, Mist, Night, Crooked, Liquor.
extern Theme* themes[kThemeCount];

// Builds the six themes (Night draws its 100 stars now).
void createThemes();

// Draws the theme's sky gradient over the whole screen.
void drawSky(const Theme& theme);
