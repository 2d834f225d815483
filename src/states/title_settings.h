#pragma once

#include "app/settings.h"
#include "states/title_state.h"

// The theme the settings name if it is unlocked with the current progress, else Sky (index 0).
int rememberedThemeIndex(const Settings& settings, unsigned unlockPoints);

// Shows the remembered choices in a freshly built menu and draws it in the remembered theme. The
// music itself is started, or not, by start-up before the menu is built.
void applySettings(TitleState& title, const Settings& settings);

// The menu's choices when it ends, with the window mode of the moment.
Settings settingsOf(const TitleState& title, bool fullScreen);
