// padshot: a picture of a level played on the gamepad, for the screenshots of what a pad player
// sees (a virtual X display has no pad to press).
//   padshot LEVEL.lv INDEX SCRIPT OUT.png
// Plays LEVEL.lv as the numbered level INDEX + 1 (INDEX from 0) through the game's own play
// state, in the first theme, with a fresh progress record kept in memory. SCRIPT is an input
// script as binhopper-sim reads it ("COUNT KEYS", letters L R U D Z X), given to the pad instead
// of the keyboard: L R U D tilt the stick, Z holds A and X holds B. Each frame goes through the
// pad's own poll (pressGamepadKeys) and the root switches as in the game's loop, so the play
// state, its prompts and its panels see what a pad gives them. After the script's last frame the
// play state draws the screen and the picture is saved as PNG. Needs a display: run it from the
// game's folder under scripts/headless. Exits 1 with one line on bad input, or when the script
// never left the pad as the device used last.

#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/blend.h"
#include "app/current_state.h"
#include "app/gamepad.h"
#include "app/geometry.h"
#include "app/input_device.h"
#include "app/switch.h"
#include "campaign/progress.h"
#include "game/fatal.h"
#include "game/tool_display.h"
#include "sim/input_script.h"
#include "sim/simulator.h"
#include "themes/themes.h"

namespace {

constexpr double kFrameTime = 0.017;  // s, the game's minimum frame
constexpr int kPadButtons = 10;
constexpr int kStartButton = 9;
constexpr int kAButton = 0, kBButton = 1;
constexpr long kHighestIndex = 254;  // the progress file holds at most 255 records

[[noreturn]] void failWith(const std::string& message) {
  std::fprintf(stderr, "padshot: %s\n", message.c_str());
  std::exit(1);
}

ALLEGRO_DISPLAY* openDisplay() {
  Result<ALLEGRO_DISPLAY*> display = openToolDisplay();
  if (!display.ok()) failWith(display.problem().message);
  setLoadFailureHandler(endWithLoadFailure);
  al_set_new_bitmap_flags(ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  return display.value();
}

InputScript readScript(const std::string& path) {
  std::ifstream in(path);
  if (!in) failWith("cannot read " + path);
  Result<InputScript> script = InputScript::read(in, path);
  if (!script.ok()) failWith(scriptProblemLine(script.problem()));
  return script.value();
}

// What a pad reads while a script's frame holds these keys (the default play keys).
GamepadReading padHolding(const std::vector<int>& keys) {
  GamepadReading pad;
  pad.buttons = std::vector<bool>(kPadButtons, false);
  pad.startButton = kStartButton;
  GamepadReading::Stick stick{false, 2, 0.0f, 0.0f};
  for (int key : keys) {
    if (key == ALLEGRO_KEY_LEFT) stick.x = -1.0f;
    if (key == ALLEGRO_KEY_RIGHT) stick.x = 1.0f;
    if (key == ALLEGRO_KEY_UP) stick.y = -1.0f;
    if (key == ALLEGRO_KEY_DOWN) stick.y = 1.0f;
    if (key == ALLEGRO_KEY_Z) pad.buttons[kAButton] = true;
    if (key == ALLEGRO_KEY_X) pad.buttons[kBButton] = true;
  }
  pad.sticks = {stick};
  return pad;
}

// One frame of the game's loop with the pad holding `pad` and no key on the keyboard.
void playFrame(PlayState& state, const GamepadReading& pad) {
  state.keyboard = ALLEGRO_KEYBOARD_STATE{};
  pressGamepadKeys(pad, state.keyboard);
  setCurrentState(&state);
  refreshRootSwitches();
  state.update(kFrameTime);
}

// Translucent drawing leaves the back buffer's alpha below one in places; the picture keeps
// the colours as shown and is made opaque.
void makeOpaque() {
  al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ZERO, ALLEGRO_ONE, ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
  al_draw_filled_rectangle(0, 0, kScreenWidth, kScreenHeight, al_map_rgba(0, 0, 0, 255));
  resetBlender();
}

// The screen as the game's loop draws it.
void drawScreen(PlayState& state, ALLEGRO_DISPLAY* display) {
  al_set_target_backbuffer(display);
  al_clear_to_color(al_map_rgb(0, 0, 0));
  beginFrame();
  state.draw(display);
  endFrame();
  makeOpaque();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: padshot LEVEL.lv INDEX SCRIPT OUT.png\n", stderr);
    return 2;
  }
  char* end = nullptr;
  const long index = std::strtol(argv[2], &end, 10);
  if (*end != '\0' || end == argv[2] || index < 0 || index > kHighestIndex)
    failWith(std::string("not a level index: ") + argv[2]);
  const InputScript script = readScript(argv[3]);
  ALLEGRO_DISPLAY* display = openDisplay();
  createThemes();
  Controls();
  progress().ensureRecords(static_cast<int>(index) + 1);
  PlayState state(playedAtIndex(static_cast<int>(index)), argv[1], *themes[0]);
  for (int frame = 1; frame <= script.frameCount() && state.status == RunStatus::Running; ++frame)
    playFrame(state, padHolding(script.keysAt(frame)));
  if (lastInputDevice() != InputDevice::Gamepad) failWith("the script never touched the pad");
  drawScreen(state, display);
  if (!al_save_bitmap(argv[4], al_get_backbuffer(display))) failWith(std::string("cannot write ") + argv[4]);
  setCurrentState(nullptr);
  al_destroy_display(display);
  return 0;
}
