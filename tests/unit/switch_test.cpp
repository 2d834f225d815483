#include "app/switch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "app/input_snapshot.h"
#include "unit/test_support.h"

namespace {

// Snapshots are taken once a frame. A key or button that went down and up between two polls
// still reads as down for the one frame after it and fires its OnPress once; held ones read
// exactly as the snapshot says.
TEST(PressLatch, ShortPressesReadDownForOneFrameAndHeldKeysAreUnchanged) {
  initAllegroForTests();
  AppState state(nullptr);
  setCurrentState(&state);
  Key key(ALLEGRO_KEY_Z);
  OnPress press(&key);
  MouseKey button(1);
  OnPress click(&button);
  ALLEGRO_EVENT keyDown{};
  keyDown.type = ALLEGRO_EVENT_KEY_DOWN;
  keyDown.keyboard.keycode = ALLEGRO_KEY_Z;
  ALLEGRO_EVENT buttonDown{};
  buttonDown.type = ALLEGRO_EVENT_MOUSE_BUTTON_DOWN;
  buttonDown.mouse.button = 1;
  // Whether a down event came since the last poll, whether the snapshot has it down, then
  // what the switch and its OnPress read.
  const std::tuple<const char*, bool, bool, bool, bool> rows[] = {
      {"tapped between two polls", true, false, true, true},
      {"the next poll", false, false, false, false},
      {"pressed and held", true, true, true, true},
      {"held", false, true, true, false},
      {"released", false, false, false, false},
      {"tapped again", true, false, true, true},
  };
  for (const auto& [label, downEvent, held, down, pressed] : rows) {
    SCOPED_TRACE(label);
    if (downEvent) pressLatch().note(keyDown);
    if (downEvent) pressLatch().note(buttonDown);
    state.keyboard = ALLEGRO_KEYBOARD_STATE{};
    state.mouse = ALLEGRO_MOUSE_STATE{};
    setKeyDown(state.keyboard, ALLEGRO_KEY_Z, held);
    setMouseButton(state.mouse, 1, held);
    state.pollInput();
    EXPECT_EQ(key.isDown(), down);
    EXPECT_EQ(press.isDown(), pressed);
    EXPECT_EQ(button.isDown(), down);
    EXPECT_EQ(click.isDown(), pressed);
  }
  setCurrentState(nullptr);
}

}  // namespace
