#include "app/switch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/input_snapshot.h"
#include "unit/test_support.h"

namespace {

// A current state with no display whose snapshots the test writes.
class FakeState : public AppStateBase {
 public:
  void processEvents() override {}
  void update(double) override {}
  void draw(ALLEGRO_DISPLAY*) override {}
  ALLEGRO_KEYBOARD_STATE* keyboardState() override { return &keyboard; }
  ALLEGRO_MOUSE_STATE* mouseState() override { return &mouse; }

  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};
};

// Makes `state` current for one test and restores the previous current state afterwards.
class CurrentStateScope {
 public:
  explicit CurrentStateScope(AppStateBase* state) : previous_(currentState()) { setCurrentState(state); }
  ~CurrentStateScope() { setCurrentState(previous_); }

 private:
  AppStateBase* previous_;
};

// One frame: the key is down or up in the snapshot, the switches are refreshed.
bool frameWithKey(FakeState& state, Switch& watched, int keyCode, bool down) {
  setKeyDown(state.keyboard, keyCode, down);
  refreshRootSwitches();
  return watched.isDown();
}

TEST(InputSnapshot, LibraryReadsWhatTheHelpersWrite) {
  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};
  setKeyDown(keyboard, ALLEGRO_KEY_Z, true);
  setKeyDown(keyboard, ALLEGRO_KEY_ESCAPE, true);
  setKeyDown(keyboard, ALLEGRO_KEY_MAX - 1, true);
  setKeyDown(keyboard, ALLEGRO_KEY_Z, false);
  EXPECT_FALSE(al_key_down(&keyboard, ALLEGRO_KEY_Z)) << "released again";
  EXPECT_TRUE(al_key_down(&keyboard, ALLEGRO_KEY_ESCAPE)) << "other key kept";
  EXPECT_TRUE(al_key_down(&keyboard, ALLEGRO_KEY_MAX - 1)) << "last key code, last word";
  EXPECT_FALSE(al_key_down(&keyboard, ALLEGRO_KEY_X));

  setMouseButton(mouse, 1, true);
  setMouseButton(mouse, 3, true);
  setMouseButton(mouse, 1, false);
  EXPECT_FALSE(al_mouse_button_down(&mouse, 1));
  EXPECT_FALSE(al_mouse_button_down(&mouse, 2));
  EXPECT_TRUE(al_mouse_button_down(&mouse, 3));
  setMousePosition(mouse, 412, 37);
  EXPECT_EQ(mouse.x, 412);
  EXPECT_EQ(mouse.y, 37);
}

TEST(OnPress, IsTrueOnlyInTheFrameTheKeyWentDown) {
  FakeState state;
  CurrentStateScope scope(&state);
  Key key(ALLEGRO_KEY_Z);
  OnPress press(&key);

  struct Row {
    const char* label;
    bool keyDown;
    bool pressed;
  };
  const Row rows[] = {
      {"up", false, false},       {"goes down", true, true},  {"held", true, false},       {"still held", true, false},
      {"released", false, false}, {"down again", true, true}, {"held again", true, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(frameWithKey(state, press, ALLEGRO_KEY_Z, row.keyDown), row.pressed) << row.label;
    EXPECT_EQ(key.isDown(), row.keyDown) << row.label;
  }
}

TEST(OnPress, KeyPressedAndReleasedBetweenRefreshesIsNeverSeen) {
  FakeState state;
  CurrentStateScope scope(&state);
  Key key(ALLEGRO_KEY_X);
  OnPress press(&key);
  refreshRootSwitches();
  setKeyDown(state.keyboard, ALLEGRO_KEY_X, true);
  setKeyDown(state.keyboard, ALLEGRO_KEY_X, false);
  refreshRootSwitches();
  EXPECT_FALSE(key.isDown());
  EXPECT_FALSE(press.isDown());
}

TEST(OnPress, CreatedWhileKeyIsDownReadsTrueAtFirstRefresh) {
  FakeState state;
  CurrentStateScope scope(&state);
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

TEST(OnPress, WatchesMouseButtonsAndTwoMouseKeysAgree) {
  FakeState state;
  CurrentStateScope scope(&state);
  MouseKey first(1);
  MouseKey second(1);
  MouseKey other(2);
  OnPress click(&first);
  setMouseButton(state.mouse, 1, true);
  refreshRootSwitches();
  EXPECT_TRUE(first.isDown());
  EXPECT_TRUE(second.isDown());
  EXPECT_FALSE(other.isDown()) << "button 2 is bit 1, not bit 0";
  EXPECT_TRUE(click.isDown());
  refreshRootSwitches();
  EXPECT_FALSE(click.isDown());
  EXPECT_TRUE(second.isDown());
}

TEST(OnPress, ChainedOnPressIsRefreshedInTheSamePass) {
  FakeState state;
  CurrentStateScope scope(&state);
  Key key(ALLEGRO_KEY_R);
  OnPress press(&key);
  OnPress pressOfPress(&press);
  EXPECT_TRUE(frameWithKey(state, pressOfPress, ALLEGRO_KEY_R, true));
  EXPECT_FALSE(frameWithKey(state, pressOfPress, ALLEGRO_KEY_R, true));
}

TEST(OnPress, DetachesSafelyInEitherOrderOfDestruction) {
  FakeState state;
  CurrentStateScope scope(&state);

  // OnPress first: the key must not refresh a dead dependent (a fault the sanitizer build sees).
  Key key(ALLEGRO_KEY_Z);
  auto* press = new OnPress(&key);
  OnPress survivor(&key);
  delete press;
  EXPECT_TRUE(frameWithKey(state, survivor, ALLEGRO_KEY_Z, true)) << "other dependents still refreshed";

  // Key first: the OnPress keeps its last value and may be destroyed afterwards.
  auto* inner = new Key(ALLEGRO_KEY_X);
  auto* orphan = new OnPress(inner);
  setKeyDown(state.keyboard, ALLEGRO_KEY_X, true);
  refreshRootSwitches();
  delete inner;
  EXPECT_TRUE(orphan->isDown());
  refreshRootSwitches();
  delete orphan;
}

// A root switch that writes its name into a log when refreshed.
class RecordingSwitch : public Switch {
 public:
  RecordingSwitch(std::string name, std::vector<std::string>& log) : Switch(true), name_(std::move(name)), log_(log) {}
  bool isDown() const override { return false; }
  void refresh() override { log_.push_back(name_); }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

TEST(RootRegistry, RefreshesInCreationOrderAndForgetsDestroyedSwitches) {
  FakeState state;
  CurrentStateScope scope(&state);
  std::vector<std::string> log;
  RecordingSwitch a("a", log);
  auto* b = new RecordingSwitch("b", log);
  RecordingSwitch c("c", log);
  refreshRootSwitches();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c"}));

  delete b;
  RecordingSwitch d("d", log);
  log.clear();
  refreshRootSwitches();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "c", "d"}));
}

int keyCodeOf(Switch* entry) {
  auto* key = dynamic_cast<Key*>(entry);
  return key ? key->keyCode() : -1;
}

TEST(Controls, AreBuiltInTheirOrderAndEnterTheRegistryInIt) {
  FakeState state;
  CurrentStateScope scope(&state);
  Switch** controls = Controls();
  EXPECT_EQ(Controls(), controls) << "built once";

  const std::vector<Switch*>& registry = rootSwitches();
  auto first = std::find(registry.begin(), registry.end(), controls[kControlUp]);
  ASSERT_NE(first, registry.end());
  ASSERT_GE(registry.end() - first, 10);
  const int expectedKeys[] = {ALLEGRO_KEY_UP,     ALLEGRO_KEY_DOWN, ALLEGRO_KEY_LEFT,  ALLEGRO_KEY_RIGHT,
                              ALLEGRO_KEY_Z,      ALLEGRO_KEY_X,    ALLEGRO_KEY_SPACE, -1,
                              ALLEGRO_KEY_ESCAPE, ALLEGRO_KEY_R};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(keyCodeOf(first[i]), expectedKeys[i]) << "registry entry " << i;
  auto* mouse = dynamic_cast<MouseKey*>(first[7]);
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(mouse->button(), 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(first[i], controls[i]) << "held keys are the table's own entries";

  // Indexes 4 to 9 are presses of the registry's next six switches: each reacts to its own key only.
  refreshRootSwitches();
  for (int index = kControlJump; index <= kControlRetry; ++index) {
    state.keyboard = {};
    state.mouse = {};
    if (index == kControlClick) {
      setMouseButton(state.mouse, 1, true);
    } else {
      setKeyDown(state.keyboard, expectedKeys[index], true);
    }
    refreshRootSwitches();
    for (int other = kControlJump; other <= kControlRetry; ++other) {
      EXPECT_EQ(controls[other]->isDown(), other == index) << "pressed " << index << ", read " << other;
    }
    state.keyboard = {};
    state.mouse = {};
    refreshRootSwitches();
  }
}

// Ends in its first frame, recording whether Escape read as just pressed there.
class EscapeProbeState : public AppState<int> {
 public:
  explicit EscapeProbeState(bool& sawEscape) : AppState<int>(nullptr), sawEscape_(sawEscape) {}
  void update(double) override {
    sawEscape_ = Controls()[kControlEscape]->isDown();
    result = 2;
    status = 1;
  }

 private:
  bool& sawEscape_;
};

class IdleState : public AppState<int> {
 public:
  IdleState() : AppState<int>(nullptr) {}
};

TEST(Controls, KeyHeldAcrossTheEndOfANestedStateIsNotPressedAgainOutside) {
  initAllegroForTests();
  Controls();
  IdleState outer;
  CurrentStateScope scope(&outer);
  outer.pollInput();

  bool innerSawEscape = false;
  auto* inner = new EscapeProbeState(innerSawEscape);
  setKeyDown(inner->keyboard, ALLEGRO_KEY_ESCAPE, true);
  EXPECT_EQ(runNested(outer, inner), 2);
  EXPECT_TRUE(innerSawEscape) << "the inner state's own poll saw Escape go down";
  EXPECT_EQ(currentState(), &outer) << "the outer state is current again";

  struct Row {
    const char* label;
    bool escapeDown;
    bool pressed;
  };
  const Row rows[] = {
      {"still held in the outer state", true, false},
      {"released", false, false},
      {"pressed again", true, true},
  };
  for (const Row& row : rows) {
    setKeyDown(outer.keyboard, ALLEGRO_KEY_ESCAPE, row.escapeDown);
    outer.pollInput();
    EXPECT_EQ(Controls()[kControlEscape]->isDown(), row.pressed) << row.label;
  }
}

}  // namespace
