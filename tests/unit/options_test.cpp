// The player's options: the settings file's newer keys, the options screen's changes (volumes
// and the play keys) and their reaching the sounds, the music and the controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/input_snapshot.h"
#include "app/key_bindings.h"
#include "app/music.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/switch.h"
#include "states/options_state.h"
#include "states/play_state.h"
#include "themes/themes.h"
#include "unit/game_directory.h"

namespace {

// Without the keyboard's driver (as in these tests) a key is named by its number.
const std::string kA = "KEY1", kB = "KEY2";

const std::vector<int> kDefaultKeys = {ALLEGRO_KEY_LEFT, ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_UP,
                                       ALLEGRO_KEY_DOWN, ALLEGRO_KEY_Z,     ALLEGRO_KEY_X};

std::vector<int> keysOf(const Settings& settings) {
  return std::vector<int>(settings.keys.keys.begin(), settings.keys.keys.end());
}

// The choices in one line, so a table row can give them all: music on ("music") or off
// ("quiet"), the theme, the timer and the ghost when shown, the music and effects volumes, the
// scaling and the assists when not the defaults, and the play key codes when they are not the
// defaults.
std::string choices(const Settings& settings) {
  const Assists& assists = settings.assists;
  std::string line = (settings.music ? "music " : "quiet ") + settings.theme + (settings.timer ? " timer" : "") +
                     (settings.ghost ? " ghost" : "") + " " + std::to_string(settings.musicVolume) + "/" +
                     std::to_string(settings.effectsVolume) +
                     (settings.scaling == Scaling::WholePixels ? " whole-pixels" : "") +
                     (assists.gameSpeed != 100 ? " speed " + std::to_string(assists.gameSpeed) : "") +
                     (assists.invincible ? " invincible" : "") + (assists.hint ? " hint" : "");
  if (keysOf(settings) == kDefaultKeys) return line;
  for (int key : keysOf(settings)) line += " " + std::to_string(key);
  return line;
}

// The newer keys load; a bad value leaves its own choice at the default and loses nothing else.
// Older keys, the timer, the ghost and broken lines are the settings text tests' business.
TEST(Settings, NewerKeysOldFilesAndBadValues) {
  // Label, the file's text, whether it is read without a problem, the choices read.
  const std::tuple<const char*, std::string, bool, std::string> rows[] = {
      {"every newer key",
       "timer = yes\nghost = no\nmusic_volume = 30\neffects_volume = 0\nkey_left = KEY4\nkey_right = KEY5\n"
       "key_up = KEY6\nkey_down = KEY7\nkey_jump = KEY8\nkey_action = KEY9\n",
       true, "music Sky timer 30/0 4 5 6 7 8 9"},
      {"a volume between the steps", "music = no\neffects_volume = 55\nmusic_volume = 20\n", false,
       "quiet Sky ghost 20/100"},
      {"a volume above full", "effects_volume = 110\ntimer = yes\n", false, "music Sky timer ghost 100/100"},
      {"a negative volume", "music_volume = -10\nghost = no\n", false, "music Sky 100/100"},
      {"a key with no such name", "key_jump = " + kA + "\nkey_left = NOSUCHKEY\ntheme = Mist\n", false,
       "music Mist ghost 100/100 82 83 84 85 1 24"},
      {"two play keys on one key", "key_left = " + kA + "\nkey_right = " + kA + "\ntimer = yes\n", false,
       "music Sky timer ghost 100/100"},
      {"a play key on a fixed key", "key_jump = KEY18\nmusic = no\n", false, "quiet Sky ghost 100/100"},
      {"scaling and every assist", "scaling = whole\ngame_speed = 50\ninvincible = yes\nhint = yes\n", true,
       "music Sky ghost 100/100 whole-pixels speed 50 invincible hint"},
      {"a game speed below 50 %", "game_speed = 40\nhint = yes\n", false, "music Sky ghost 100/100 hint"},
      {"a game speed between the steps", "game_speed = 75\nscaling = sharp\n", false, "music Sky ghost 100/100"},
  };
  for (const auto& [label, text, accepted, expected] : rows) {
    SCOPED_TRACE(label);
    Settings settings;
    EXPECT_EQ(parseSettings(text, settings).empty(), accepted);
    EXPECT_EQ(choices(settings), expected);
  }
}

// Every choice survives the file, each set away from its default.
TEST(Settings, EveryChoiceRoundTripsThroughTheFile) {
  Settings chosen;
  chosen.music = false;
  chosen.audio = false;
  chosen.theme = "Mist";
  chosen.fullScreen = true;
  chosen.vsync = true;
  chosen.timer = true;
  chosen.ghost = false;
  chosen.musicVolume = 40;
  chosen.effectsVolume = 0;
  chosen.scaling = Scaling::WholePixels;
  chosen.assists = Assists{70, true, true};
  chosen.keys.keys = {ALLEGRO_KEY_A, ALLEGRO_KEY_D,     ALLEGRO_KEY_W,
                      ALLEGRO_KEY_S, ALLEGRO_KEY_PAD_0, ALLEGRO_KEY_LSHIFT};
  TempDir directory;
  const std::string path = directory.file("binhopper.cfg");
  ASSERT_TRUE(saveSettings(chosen, path).ok);
  Settings read = loadSettings(path);
  EXPECT_EQ(choices(read), "quiet Mist timer 40/0 whole-pixels speed 70 invincible hint 1 4 23 19 37 215");
  EXPECT_TRUE(read.fullScreen);
  EXPECT_TRUE(read.vsync);
  EXPECT_FALSE(read.audio);
}

// The options screen over an empty scene, driven one frame at a time.
class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() {
    createThemes();
    Controls();
    useSettings(settings);
    scene = std::make_unique<PlayState>(PlayedLevel{}, std::make_unique<World>(), *themes[0]);
    options = std::make_unique<OptionsState>(settings, *scene);
    setCurrentState(options.get());
    frame();
  }
  ~OptionsTest() override {
    options.reset();
    setCurrentState(nullptr);
    useSettings(Settings());
  }

  void frame(int keyCode = 0, bool click = false) {
    options->keyboard = ALLEGRO_KEYBOARD_STATE{};
    setKeyDown(options->keyboard, keyCode, true);
    setMouseButton(options->mouse, 1, click);
    refreshRootSwitches();
    options->update(0.017);
  }
  void press(int keyCode) {
    frame(keyCode);
    frame();
  }
  void click(const GuiButton& button) {
    setMousePosition(options->mouse, static_cast<int>(button.rect.left) + 2, static_cast<int>(button.rect.top) + 2);
    frame();
    frame(0, true);
    frame();
  }

  GameDirectory directory;
  Settings settings;
  std::unique_ptr<PlayState> scene;
  std::unique_ptr<OptionsState> options;
};

// Which play key's button is clicked, the keys then pressed, and what follows: the play keys and
// the end of the message. After a refused key (the message asks for another) one is still awaited.
TEST_F(OptionsTest, RebindingCases) {
  auto with = [](PlayKey key, int keyCode) {
    KeyBindings bindings;
    bindings[key] = keyCode;
    return std::vector<int>(bindings.keys.begin(), bindings.keys.end());
  };
  const std::tuple<const char*, PlayKey, std::vector<int>, std::vector<int>, std::string> rows[] = {
      {"a free key", PlayKey::Jump, {ALLEGRO_KEY_A}, with(PlayKey::Jump, ALLEGRO_KEY_A), "jump is KEY1."},
      {"its own key again", PlayKey::Jump, {ALLEGRO_KEY_Z}, kDefaultKeys, "jump is KEY26."},
      {"another play key's", PlayKey::Jump, {ALLEGRO_KEY_X}, kDefaultKeys, "the key for action: choose another key."},
      {"an arrow of another play key", PlayKey::Up, {ALLEGRO_KEY_LEFT}, kDefaultKeys, "for left: choose another key."},
      {"Escape keeps the old key", PlayKey::Left, {ALLEGRO_KEY_ESCAPE}, kDefaultKeys, "left stays KEY82."},
      {"R stays retry", PlayKey::Left, {ALLEGRO_KEY_R}, kDefaultKeys, "kept for retry: choose another key."},
      {"P stays pause", PlayKey::Action, {ALLEGRO_KEY_P}, kDefaultKeys, "kept for pause: choose another key."},
      {"Space stays", PlayKey::Down, {ALLEGRO_KEY_SPACE}, kDefaultKeys, "after a level: choose another key."},
      {"F11 stays", PlayKey::Right, {ALLEGRO_KEY_F11}, kDefaultKeys, "full screen: choose another key."},
      {"a refused key, then a free one",
       PlayKey::Left,
       {ALLEGRO_KEY_X, ALLEGRO_KEY_B},
       with(PlayKey::Left, ALLEGRO_KEY_B),
       "left is KEY2."},
      {"a free key, then another play key's",
       PlayKey::Action,
       {ALLEGRO_KEY_A, ALLEGRO_KEY_Z},
       with(PlayKey::Action, ALLEGRO_KEY_A),
       "action is KEY1."},
  };
  for (const auto& [label, playKey, pressed, keys, message] : rows) {
    SCOPED_TRACE(label);
    const bool awaiting = message.find("choose another key.") != std::string::npos;
    click(*options->defaultKeysButton);
    click(*options->keyButtons[static_cast<int>(playKey)]);
    ASSERT_EQ(options->awaitedKey, playKey);
    for (int keyCode : pressed) press(keyCode);
    EXPECT_EQ(keysOf(settings), keys);
    EXPECT_EQ(options->awaitedKey.has_value(), awaiting);
    const std::string& shown = options->message->text;
    EXPECT_EQ(shown.substr(shown.size() - std::min(shown.size(), message.size())), message) << shown;
    if (awaiting) press(ALLEGRO_KEY_ESCAPE);
    EXPECT_EQ(options->status, RunStatus::Running) << "Escape while a key is awaited stays";
  }
  click(*options->defaultKeysButton);
  EXPECT_EQ(keysOf(settings), kDefaultKeys);
  press(ALLEGRO_KEY_ESCAPE);
  EXPECT_EQ(options->status, RunStatus::Done);
}

// The effects volume scales every sound's own gain, down to silence and no further.
TEST_F(OptionsTest, EffectsVolumeReachesTheSounds) {
  static std::vector<float> gains;
  gains.clear();
  setSoundObserver([](ALLEGRO_SAMPLE*, float gain, float) { gains.push_back(gain); });
  const std::tuple<int, int, float> rows[] = {{2, 80, 0.4f}, {20, 0, 0.0f}};
  for (const auto& [lowerClicks, volume, gain] : rows) {
    for (int i = 0; i < lowerClicks; ++i) click(*options->effectsVolume.lower);
    EXPECT_EQ(settings.effectsVolume, volume);
    EXPECT_EQ(options->effectsVolume.value->text, std::to_string(volume) + "%");
    gains.clear();
    playSound(nullptr, 0.5f);
    ASSERT_EQ(gains.size(), 1u);
    EXPECT_FLOAT_EQ(gains[0], gain);
  }
  click(*options->effectsVolume.higher);
  EXPECT_EQ(settings.effectsVolume, 10);
  setSoundObserver(nullptr);
}

// The assists and the scaling: the game speed steps by 10 % between 50 and 100 %, the first
// assist turned on says what it costs, and each button shows its choice.
TEST_F(OptionsTest, AssistsAndScaling) {
  for (int i = 0; i < 7; ++i) click(*options->gameSpeed.lower);
  EXPECT_EQ(settings.assists.gameSpeed, 50);
  EXPECT_EQ(options->gameSpeed.value->text, "50%");
  EXPECT_EQ(options->message->text, "With an assist on, a run earns no silver crown and sets no best time.");
  click(*options->gameSpeed.higher);
  click(*options->invincibleButton);
  click(*options->hintButton);
  EXPECT_EQ(settings.assists, (Assists{60, true, true}));
  EXPECT_EQ(options->invincibleButton->label, "Yes");
  click(*options->scalingButton);
  EXPECT_EQ(settings.scaling, Scaling::WholePixels);
  EXPECT_EQ(options->scalingButton->label, "Whole pixels");
  for (int i = 0; i < 6; ++i) click(*options->gameSpeed.higher);
  EXPECT_EQ(settings.assists.gameSpeed, 100);
}

// The music volume scales the rendered module over its own gain.
TEST(MusicVolume, ScalesTheRenderedTune) {
  initMusic(1);
  auto loudest = [](float volume) {
    DUH* module = dumb_load_xm("media/dreamland.xm");
    MusicPlayer player;
    player.renderer = dumb_it_start_at_order(module, 2, 0);
    player.volume = 0.25f;
    setMusicVolume(volume);
    std::vector<std::int16_t> buffer(player.fragmentLength * 2);
    int peak = 0;
    for (int fragment = 0; fragment < 20; ++fragment) {
      renderFragment(player, buffer.data());
      for (std::int16_t sample : buffer) peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    duh_end_sigrenderer(player.renderer);
    unload_duh(module);
    return peak;
  };
  int full = loudest(1.0f);
  int half = loudest(0.5f);
  int silent = loudest(0.0f);
  setMusicVolume(1.0f);
  ASSERT_GT(full, 1000);
  EXPECT_NEAR(half, full / 2, full / 20);
  EXPECT_EQ(silent, 0);
}

}  // namespace
