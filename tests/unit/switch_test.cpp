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

// An OnPress of an OnPress is refreshed in the same pass, so it reads the same edges.
TEST(OnPress, IsTrueOnlyInTheFrameTheKeyWentDown) {
  TestState state;
  Key key(ALLEGRO_KEY_Z);
  OnPress press(&key);
  OnPress pressOfPress(&press);
  const std::tuple<const char*, bool, bool> rows[] = {
      {"up", false, false},       {"goes down", true, true},  {"held", true, false},       {"still held", true, false},
      {"released", false, false}, {"down again", true, true}, {"held again", true, false},
  };
  for (const auto& [label, keyDown, pressed] : rows) {
    setKeyDown(state.keyboard, ALLEGRO_KEY_Z, keyDown);
    refreshRootSwitches();
    EXPECT_EQ(key.isDown(), keyDown) << label;
    EXPECT_EQ(press.isDown(), pressed) << label;
    EXPECT_EQ(pressOfPress.isDown(), pressed) << label;
  }
}

TEST(OnPress, CreatedWhileKeyIsDownReadsTrueAtFirstRefresh) {
  TestState state;
  Key key(ALLEGRO_KEY_SPACE);
  setKeyDown(state.keyboard, ALLEGRO_KEY_SPACE, true);
  refreshRootSwitches();
  OnPress late(&key);
  EXPECT_FALSE(late.isDown()) << "not refreshed yet";
  refreshRootSwitches();
  EXPECT_TRUE(late.isDown()) << "previous starts false";
  refreshRootSwitches();
  EXPECT_FALSE(late.isDown());
}

TEST(OnPress, DetachesSafelyInEitherOrderOfDestruction) {
  TestState state;
  // OnPress first: the key must not refresh a dead dependent (a fault the sanitizer build sees).
  Key key(ALLEGRO_KEY_Z);
  auto* press = new OnPress(&key);
  OnPress survivor(&key);
  delete press;
  setKeyDown(state.keyboard, ALLEGRO_KEY_Z, true);
  refreshRootSwitches();
  EXPECT_TRUE(survivor.isDown()) << "other dependents still refreshed";

  // Key first: the OnPress keeps its last value and may be destroyed afterwards.
  auto* inner = new Key(ALLEGRO_KEY_Z);
  auto* orphan = new OnPress(inner);
  refreshRootSwitches();
  delete inner;
  EXPECT_TRUE(orphan->isDown());
  refreshRootSwitches();
  delete orphan;
}

// Snapshots are taken once a frame. A key or button that went down and up between two polls
// still reads as down for the one frame after it and fires its OnPress once; held ones read
// exactly as the snapshot says.
TEST(PressLatch, ShortPressesReadDownForOneFrameAndHeldKeysAreUnchanged) {
  initAllegroForTests();
  AppState<int> state(nullptr);
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

// The switches are refreshed in the registry's order.
TEST(RootRegistry, KeepsCreationOrderAndForgetsDestroyedSwitches) {
  const std::vector<Switch*>& registry = rootSwitches();
  Key a(ALLEGRO_KEY_A);
  auto* b = new Key(ALLEGRO_KEY_B);
  Key c(ALLEGRO_KEY_C);
  ASSERT_GE(registry.size(), 3u);
  EXPECT_EQ(std::vector<Switch*>(registry.end() - 3, registry.end()), (std::vector<Switch*>{&a, b, &c}));
  delete b;
  Key d(ALLEGRO_KEY_D);
  EXPECT_EQ(std::vector<Switch*>(registry.end() - 3, registry.end()), (std::vector<Switch*>{&a, &c, &d}));
}

}  // namespace
