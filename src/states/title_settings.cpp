#include "states/title_settings.h"

#include <string>

#include "campaign/progress.h"
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
  title.settings = settings;
  title.musicOn = settings.music;
  title.musicButton->label = settings.music ? "Yes" : "No";
  title.themeIndex = rememberedThemeIndex(settings, progress().unlockPoints());
  title.useTheme(*themes[title.themeIndex]);
  title.useCampaign(settings.campaign);
}

Settings settingsOf(const TitleState& title, bool fullScreen) {
  Settings settings = title.settings;
  settings.music = title.musicOn;
  settings.theme = title.theme().name();
  settings.fullScreen = fullScreen;
  // A folder name that would break the settings file's lines is not remembered.
  const std::string& campaign = title.campaigns.campaign().folderName;
  if (campaign.find_first_of("\r\n") == std::string::npos && !campaign.empty()) settings.campaign = campaign;
  return settings;
}
