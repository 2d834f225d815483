#include <gtest/gtest.h>

#include <tuple>

#include "app/gamepad.h"
#include "app/input_snapshot.h"
#include "app/key_bindings.h"
#include "app/resource.h"
#include "app/sound.h"
#include "campaign/progress.h"
#include "entities/avatar.h"
#include "entities/baddie.h"
#include "entities/bag.h"
#include "entities/container.h"
#include "entities/force_field.h"
#include "entities/lever.h"
#include "entities/message.h"
#include "entities/pop_up.h"
#include "entities/press_pad.h"
#include "entities/sign_text.h"
#include "entities/spikes.h"
#include "themes/themes.h"
#include "unit/object_scene.h"
#include "unit/test_support.h"

namespace {

int soundsHeard = 0;

// Counts every sound asked for while it lives.
struct SoundLog {
  SoundLog() {
    soundsHeard = 0;
    setSoundObserver([](ALLEGRO_SAMPLE*, float, float) { ++soundsHeard; });
  }
  ~SoundLog() { setSoundObserver(nullptr); }
};

// Two hazards on one frame: the first reason stays, one death is counted, one set of puffs.
TEST(Hazards, TwoKillersInOneFrameGiveOneDeath) {
  ObjectScene scene;
  scene.floor(0, 10, 10);
  auto* avatar = scene.place<Avatar>(100, 180);
  scene.place<Spikes>(100, 180);
  scene.place<ForceField>(100, 180, true);
  scene.start();
  int deathsBefore = progress().deaths;
  scene.frames(2);
  EXPECT_EQ(avatar->outcome().reason, "ate some spiky death") << "spikes come first in the update list";
  EXPECT_EQ(progress().deaths, deathsBefore + 1);
  EXPECT_EQ(scene.count<Particle>(), 20);
}

// The avatar's box (x + 1, y + 2) - (x + 19, y + 20) against the hazard's three points, for a
// hazard at (200, 300): spikes (200 | 210 | 220, 318), a horizontal beam (200 | 210 | 220, 310),
// a vertical beam (210, 300 | 310 | 320). Each line puts one of the hazard's points on an edge
// of the box (only the left and top edges hold it), then moves the box by 0.01 px.
TEST(Hazards, KillExactlyWhenTheAvatarsBoxHoldsOneOfTheirPoints) {
  enum Kind { kSpikes, kHorizontal, kVertical };
  const std::tuple<Kind, double, double, bool> rows[] = {
      {kSpikes, 181, 300, false},     {kSpikes, 181.01, 300, true},       // left point, right edge
      {kSpikes, 219, 300, true},      {kSpikes, 219.01, 300, false},      // right point, left edge
      {kSpikes, 200, 298, false},     {kSpikes, 200, 298.01, true},       // tips, bottom edge
      {kHorizontal, 181, 300, false}, {kHorizontal, 181.01, 300, true},   // left point, right edge
      {kHorizontal, 219, 300, true},  {kHorizontal, 219.01, 300, false},  // right point, left edge
      {kVertical, 200, 280, false},   {kVertical, 200, 280.01, true},     // top point, bottom edge
      {kVertical, 200, 318, true},    {kVertical, 200, 318.01, false},    // bottom point, top edge
      {kVertical, 209, 300, true},    {kVertical, 209.01, 300, false},    // beam, left edge
      {kVertical, 191, 300, false},   {kVertical, 191.01, 300, true},     // beam, right edge
  };
  for (const auto& [kind, x, y, dies] : rows) {
    ObjectScene scene;
    auto* avatar = scene.place<Avatar>(x, y);
    Entity* hazard = kind == kSpikes ? static_cast<Entity*>(scene.place<Spikes>(200, 300))
                                     : scene.place<ForceField>(200, 300, kind == kVertical);
    scene.start();
    hazard->update(0.0);
    EXPECT_EQ(avatar->outcome().status == Outcome::Dead, dies) << "hazard kind " << kind << " at " << x << ", " << y;
  }
}

// Down and X together while standing with an object: the object is put down, keeping its
// velocity, and is never left marked as carried by an empty-handed avatar.
TEST(Carrying, DownAndActionTogetherWhileStandingPutsTheObjectDown) {
  ObjectScene scene;
  scene.floor(0, 39, 10);
  auto* avatar = scene.place<Avatar>(100, 180);
  auto* bag = scene.place<Bag>(100, 180);
  scene.start();
  scene.frame("D");
  scene.frame("DX");
  ASSERT_EQ(avatar->carried, bag) << "picked up while crouching";
  scene.frame();
  scene.frame("DX");
  EXPECT_EQ(avatar->carried, nullptr);
  EXPECT_EQ(bag->carryState, Carryable::Free);
  EXPECT_EQ(bag->carrier, nullptr);
  EXPECT_EQ(scene.context().throws, 0.0) << "a put-down is not a throw";
  scene.frames(60, "R");
  EXPECT_EQ(bag->carryState, Carryable::Resting) << "dropped, fell and landed by itself";
}

// A feral baddie that touches the bag the avatar holds destroys it; the avatar lets go first.
TEST(Carrying, FeralBaddieEatingTheCarriedBagLeavesTheAvatarEmptyHanded) {
  ObjectScene scene;
  scene.floor(0, 39, 10);
  auto* avatar = scene.place<Avatar>(100, 180);
  auto* bag = scene.place<Bag>(100, 160);
  bag->pickUp(avatar);
  avatar->carried = bag;
  scene.place<Baddie>(100, 150, true)->carryState = Carryable::Free;
  scene.start();
  scene.frame();
  EXPECT_EQ(avatar->carried, nullptr);
  EXPECT_FALSE(scene.contains(bag));
  scene.frames(30);
  EXPECT_EQ(avatar->outcome().reason, "have become a snack for a feral baddie.");
}

// A bag eaten while it holds a lever down is forgotten, so the next arrival flips the lever.
TEST(Lever, ToucherRemovedFromTheWorldFreesTheLever) {
  ObjectScene scene;
  scene.floor(0, 39, 10);
  auto* lever = scene.place<Lever>(100, 180, 1, false);
  auto* bag = scene.place<Bag>(100, 180);
  auto* baddie = scene.place<Baddie>(160, 180, true);
  scene.start();
  scene.frame();
  ASSERT_TRUE(lever->on && lever->toucher == bag) << "the bag's arrival flipped it";
  for (int i = 0; i < 60 && scene.contains(bag); ++i) scene.frame();
  ASSERT_FALSE(scene.contains(bag)) << "the baddie walked into the bag";
  EXPECT_EQ(lever->toucher, nullptr);
  baddie->kill();
  scene.frame();
  scene.place<Bag>(100, 180);
  scene.frames(2);
  EXPECT_FALSE(lever->on) << "the next bag flips it back";
}

// A panel the sign still owns is freed when new text replaces it (the sanitizer build's leak
// checker sees it otherwise); one handed to the world leaves at the flush, also with its sign.
TEST(Message, ReplacedAndOrphanedPanelsLeaveTheWorld) {
  ObjectScene scene;
  auto* sign = scene.place<Message>(100, 100, "first");
  sign->setText("second");
  scene.start();
  scene.frame();
  PopUp* shown = sign->popUp;
  ASSERT_TRUE(scene.contains(shown)) << "handed to the world on the first update";
  sign->setText("third");
  scene.world.flush();
  EXPECT_FALSE(scene.contains(shown));
  scene.frame();
  ASSERT_TRUE(scene.contains(sign->popUp));
  EXPECT_EQ(sign->popUp->lines[0].first, "third");
  sign->kill();
  scene.world.flush();
  EXPECT_EQ(scene.count<PopUp>(), 0) << "the sign takes its panel along";
}

// A placeholder shows the key bound now, in any letter case; a bracket that names no play key,
// or is never closed, stays as written.
TEST(Message, PlaceholdersShowTheKeysBoundNow) {
  KeyBindings rebound;
  rebound[PlayKey::Jump] = ALLEGRO_KEY_A;
  useKeyBindings(rebound);
  const std::string jump = keyLabel(ALLEGRO_KEY_A), action = keyLabel(ALLEGRO_KEY_X);
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {"the rebound key", "Press [jump] to jump.", "Press " + jump + " to jump."},
      {"any letter case, two keys", "[Left] then [ACTION]", keyLabel(ALLEGRO_KEY_LEFT) + " then " + action},
      {"an unknown name kept", "[fly] or [jump]", "[fly] or " + jump},
      {"a bracket inside another", "[[action]]", "[" + action + "]"},
      {"an unclosed bracket kept", "press [jump", "press [jump"},
      {"an empty bracket kept", "[]", "[]"},
  };
  for (const auto& [label, written, shown] : rows) EXPECT_EQ(signText(written), shown) << label;
  useKeyBindings(KeyBindings());
  // While the pad was used last, its buttons; a key press brings the keys back.
  TestState state;
  Controls();
  GamepadReading stick;
  stick.sticks = {{false, 2, 1.0f, 0.0f}};
  const std::string keys =
      keyLabel(ALLEGRO_KEY_Z) + ", then " + keyLabel(ALLEGRO_KEY_X) + ", " + keyLabel(ALLEGRO_KEY_RIGHT);
  for (bool pad : {true, false}) {
    state.keyboard = ALLEGRO_KEYBOARD_STATE{};
    setKeyDown(state.keyboard, ALLEGRO_KEY_Q, !pad);
    pressGamepadKeys(pad ? stick : GamepadReading(), state.keyboard);
    refreshRootSwitches();
    EXPECT_EQ(signText("[jump], then [action], [right]"), pad ? "A, then B, stick right" : keys);
  }
}

// The panel wraps the text as shown: placeholders far longer than their keys do not push it
// onto more lines; a key rebound while the sign stands shows from the next update.
TEST(Message, PanelShowsAndWrapsTheKeysInPlace) {
  ObjectScene scene;
  ALLEGRO_FONT* font = fontResource("media/font.ttf");
  ASSERT_NE(font, nullptr);
  auto fits = [font](const std::string& text) { return al_get_text_width(font, text.c_str()) <= PopUp::kTextWidth; };
  std::string written, shown;
  while (fits(shown + keyLabel(ALLEGRO_KEY_X) + " ")) {
    written += "[action] ";
    shown += keyLabel(ALLEGRO_KEY_X) + " ";
  }
  ASSERT_FALSE(fits(written));
  auto* sign = scene.place<Message>(100, 100, written);
  scene.start();
  scene.frame();
  ASSERT_EQ(sign->popUp->lines.size(), 1u) << "measured as written it would take several lines";
  EXPECT_EQ(sign->popUp->lines[0].first.find('['), std::string::npos);
  KeyBindings rebound;
  rebound[PlayKey::Action] = ALLEGRO_KEY_C;
  useKeyBindings(rebound);
  scene.frame();
  useKeyBindings(KeyBindings());
  EXPECT_EQ(sign->popUp->lines[0].first.substr(0, keyLabel(ALLEGRO_KEY_C).size() + 1), keyLabel(ALLEGRO_KEY_C) + " ");
  EXPECT_EQ(sign->text, written) << "the sign keeps its placeholders";
}

// A pad at (px, py) is pressed by a body at (ex, ey) exactly when px - 15 <= ex < px + 15 and
// py - 5 <= ey < py + 1; the channel is the resting value XOR pressed, with a sound on each edge.
TEST(PressPad, PressedExactlyInsideItsBoundsWithASoundOnEachEdge) {
  for (bool restingOn : {false, true}) {
    ObjectScene scene;
    auto* pad = scene.place<PressPad>(200, 300, 4, restingOn);
    auto* bag = scene.place<Bag>(0, 0);
    scene.start();
    const std::tuple<const char*, double, double, bool> rows[] = {
        {"in its cell", 200, 300, true},     {"left bound", 185, 300, true},   {"left of it", 184.99, 300, false},
        {"inside right", 214.99, 300, true}, {"right bound", 215, 300, false}, {"top bound", 200, 295, true},
        {"above", 200, 294.99, false},       {"bottom", 200, 300.99, true},    {"below", 200, 301, false},
    };
    for (const auto& [label, x, y, pressed] : rows) {
      SCOPED_TRACE(std::string(label) + (restingOn ? ", resting on" : ", resting off"));
      bag->setPosition(x, y);
      SoundLog sounds;
      bool before = pad->pressed;
      pad->update(0.0);
      EXPECT_EQ(pad->pressed, pressed);
      EXPECT_EQ(scene.context().channelStates[4], pressed != restingOn ? 1 : 0);
      EXPECT_EQ(soundsHeard, before != pressed ? 1 : 0);
    }
  }
}

// A bag lying at rest with its point in the mouth stays out; once free there, it goes in.
TEST(Container, TakesAFreeBagButNotOneAtRestInItsMouth) {
  ObjectScene scene;
  scene.floor(0, 39, 20);
  auto* bin = scene.place<Container>(200, 390, 200, 390, 1);
  auto* bag = scene.place<Bag>(200, 380);
  scene.start();
  scene.frames(3);
  EXPECT_EQ(bin->remaining, 1);
  bag->carryState = Carryable::Free;
  bin->update(0.0);
  EXPECT_EQ(bin->remaining, 0);
  scene.world.flush();
  EXPECT_FALSE(scene.contains(bag));
}

}  // namespace
