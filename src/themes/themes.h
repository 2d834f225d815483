#pragma once

#include "world/theme.h"

constexpr int kThemeCount = 6;
// The six themes in menu order: Sky, Sunset, Mist, Night, Crooked, Liquor.
extern Theme* themes[kThemeCount];

// Builds the six themes (Night draws its 100 stars now) and makes Sky current.
void createThemes();

// Draws the sky gradient of the current theme over the whole screen.
void drawSky(const Theme& theme);
