#include "game/startup.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/blend.h"
#include "app/command_line.h"
#include "app/data_dirs.h"
#include "app/game_window.h"
#include "app/geometry.h"
#include "app/library.h"
#include "app/music.h"
#include "app/settings.h"
#include "app/switch.h"
#include "campaign/discovery.h"
#include "campaign/progress.h"
#include "editor/editor_state.h"
#include "game/fatal.h"
#include "game/game_icon.h"
#include "pack_tools/pack_install.h"
#include "states/title_state.h"
#include "themes/themes.h"

namespace {

const char* const kWindowTitle = "Binhopper";
const char* const kNoAudioAdvice =
    "To play without sound, start the game with --no-audio (or put 'audio = no' in binhopper.cfg).";

// Full screen is a window covering the desktop at its own resolution, so it never depends on
// the screen offering an 800 x 600 mode. Vertical sync only when the player asks for it (1 on,
// 2 off); the window then tells the clocks whether the display granted it.
ALLEGRO_DISPLAY* openDisplay(bool fullScreen, bool vsync) {
  al_set_new_display_flags(ALLEGRO_OPENGL | ALLEGRO_RESIZABLE |
                           (fullScreen ? ALLEGRO_FULLSCREEN_WINDOW : ALLEGRO_WINDOWED));
  al_set_new_display_option(ALLEGRO_VSYNC, vsync ? 1 : 2, ALLEGRO_SUGGEST);
  al_set_new_window_title(kWindowTitle);
  ALLEGRO_DISPLAY* display = al_create_display(kScreenWidth, kScreenHeight);
  if (!display) fatal("Unable to create an OpenGL display.");
  return display;
}

// The editor's file is named relative to where the player started the game.
void findDirectories(LaunchOptions& options) {
  if (!options.editorFile.empty()) options.editorFile = std::filesystem::absolute(options.editorFile).string();
  DataSearch search = processDataSearch();
  enterDataDirs(chooseDataDirs(search), search);
}

// "Add a campaign…" installs into the player directory the game is using.
CampaignInstall installFromMenu(const std::string& source, bool replace) {
  return installForMenu(source, gameCampaignPlaces(), replace);
}

// The editor from the menu edits the player's scratch level, nested in the menu.
void runEditorFromMenu(AppState& menu) {
  EditorState editor(playerFile(EditorState::kScratchFile));
  runNested(menu, editor);
}

// The menu shows the remembered choices; what the player leaves it with is remembered next,
// with the choices the menu does not show kept as they were. The window mode is remembered
// only when switched with F11: -fs and --windowed are for one run.
void runTitle(const GameWindow& window, const Settings& settings, const std::string& settingsPath) {
  TitleState title;
  title.runEditor = runEditorFromMenu;
  title.installCampaign = installFromMenu;
  title.menu().apply(settings);
  title.keepSettingsIn(settingsPath);
  title.run(nullptr);
  progress().save();
  title.menu().campaigns().savePackRecords();
  saveSettings(title.menu().settingsFor(window.modeSwitched() ? window.fullScreen() : settings.fullScreen),
               settingsPath);
}

// Runs before any window opens and ends the program. The pack's path is named from where the
// player started; its levels are checked headless, without pictures, and it goes into the
// player directory's packs/, which nothing else here touches.
int installPackCommand(const LaunchOptions& options) {
  std::string source = std::filesystem::absolute(options.packSource).string();
  DataDirs dirs = chooseDataDirs(processDataSearch());
  Result<> started = startLibrary();
  if (!started.ok()) fatal(started.problem().message.c_str());
  PackInstall install = installPack(source, campaignPlacesIn(dirs), options.replacePack);
  for (const std::string& line : install.checkLines) std::printf("%s\n", line.c_str());
  std::string outcome = installOutcome(options.packSource, install);
  if (!install.ok()) {
    std::fprintf(stderr, "binhopper: %s\n", outcome.c_str());
    return 1;
  }
  std::printf("%s\n", outcome.c_str());
  return 0;
}

}  // namespace

int runGame(int argc, char** argv) {
  LaunchOptions options = parseCommandLine(argc, argv);
  int infoStatus = answerInfoRequest(options, stdout, stderr);
  if (infoStatus >= 0) return infoStatus;
  if (options.action == LaunchOptions::Action::InstallPack) return installPackCommand(options);
  showFailuresOnDesktop();
  findDirectories(options);
  const std::string settingsPath = playerFile(kSettingsFile);
  Result<> started = startLibrary();
  if (!started.ok()) fatal(started.problem().message.c_str());
  setLoadFailureHandler(endWithLoadFailure);
  // The settings name the play keys as the keyboard's driver names them.
  al_install_keyboard();
  Settings settings = loadSettings(settingsPath);
  useSettings(settings);
  bool fullScreen = options.fullScreen || (settings.fullScreen && !options.windowed);
  GameIcon icon;
  ALLEGRO_DISPLAY* display = openDisplay(fullScreen, settings.vsync);
  icon.applyTo(display);
  resetBlender();
  al_install_mouse();
  al_install_joystick();
  al_show_mouse_cursor(display);
  // Sounds and music play only while audio is installed: a silent game never installs it.
  bool silent = options.noAudio || !settings.audio;
  if (!silent && !al_install_audio()) fatal("Unable to initialize audio.", kNoAudioAdvice);
  if (!silent) al_reserve_samples(16);
  initMusic(1);
  if (settings.music) playTitleMusic();
  progress().path = playerFile(progress().path);
  progress().load(loadCampaign(gameCampaignPlaces().builtIn, CampaignOrigin::BuiltIn).levelCount());
  createThemes();
  Controls();
  {
    GameWindow window(display, fullScreen);
    window.setScaling(settings.scaling);
    if (options.editor) {
      EditorState editor(options.editorFile.empty() ? playerFile(EditorState::kScratchFile) : options.editorFile);
      editor.run(nullptr);
    } else {
      runTitle(window, settings, settingsPath);
    }
  }
  al_destroy_display(display);
  return 0;
}
