#include "states/title_settings.h"

#include <string>

#include "states/progress.h"
#include "themes/themes.h"
#include "world/theme.h"

int rememberedThemeIndex(const Settings& settings, unsigned unlockPoints) {
  for (int i = 0; i < kThemeCount; ++i) {
    bool unlocked = themes[i]->requiredPoints() <= static_cast<int>(unlockPoints);
    if (settings.theme == themes[i]->name() && unlocked) return i;
  }
  return 0;
}

void applySettings(TitleState& title, const Settings& settings) {
  title.musicOn = settings.music;
  title.musicButton->label = settings.music ? "Yes" : "No";
  title.timerShown = settings.timer;
  title.ghostShown = settings.ghost;
  title.themeIndex = rememberedThemeIndex(settings, progress().unlockPoints());
  title.useTheme(*themes[title.themeIndex]);
}

Settings settingsOf(const TitleState& title, bool fullScreen) {
  Settings settings;
  settings.music = title.musicOn;
  settings.theme = title.theme().name();
  settings.fullScreen = fullScreen;
  settings.timer = title.timerShown;
  settings.ghost = title.ghostShown;
  return settings;
}
