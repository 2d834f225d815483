#include <gtest/gtest.h>

#include <cstdio>

#include "entities/avatar.h"
#include "entities/bag.h"
#include "entities/baddie.h"
#include "entities/cloud.h"
#include "entities/container.h"
#include "entities/force_field.h"
#include "entities/garbage.h"
#include "entities/lever.h"
#include "entities/message.h"
#include "entities/press_pad.h"
#include "entities/prototypes.h"
#include "entities/spikes.h"
#include "app/resource.h"
#include "app/sound.h"
#include "states/pop_up.h"
#include "states/progress.h"
#include "themes/theme.h"
#include "unit/object_scene.h"

namespace {

std::vector<float> heardGains;
void hearSound(ALLEGRO_SAMPLE*, float gain, float) { heardGains.push_back(gain); }

// Collects every sound asked for while it lives.
class SoundLog {
 public:
  SoundLog() {
    heardGains.clear();
    setSoundObserver(hearSound);
  }
  ~SoundLog() { setSoundObserver(nullptr); }
  size_t count() const { return heardGains.size(); }
};

TEST(Particle, MovesBeforeDragAndDiesWhenLifeRunsOut) {
  ObjectScene scene;
  auto* spark = scene.place(new Particle("media/glow.png", 0, 0, 100, -50, 0.05, 0.1, ALLEGRO_ONE), 10, 20);
  scene.start();
  scene.frame("", 0.02);
  EXPECT_DOUBLE_EQ(spark->x(), 12.0) << "first step at the full speed";
  EXPECT_DOUBLE_EQ(spark->y(), 19.0);
  EXPECT_DOUBLE_EQ(spark->vx, 90.0) << "a tenth lost per update, not per second";
  EXPECT_DOUBLE_EQ(spark->vy, -45.0);
  scene.frame("", 0.02);
  EXPECT_DOUBLE_EQ(spark->x(), 13.8);
  EXPECT_NEAR(spark->life, 0.01, 1e-12);
  scene.frame("", 0.02);
  EXPECT_EQ(scene.count<Particle>(), 0) << "life at or below 0 removes it";
}

TEST(Particle, PuffsAreTwentyRisingGreyParticlesAroundThePoint) {
  ObjectScene scene;
  spawnPuffs(scene.world, 100, 200);
  scene.world.flush();
  ASSERT_EQ(scene.count<Particle>(), 20);
  for (Entity* e : scene.world.byTag(tagOf("rndr"))) {
    auto* puff = static_cast<Particle*>(e);
    EXPECT_GE(puff->x(), 90.0);
    EXPECT_LE(puff->x(), 110.0);
    EXPECT_GE(puff->y(), 190.0);
    EXPECT_LE(puff->y(), 210.0);
    EXPECT_EQ(puff->vx, 0.0);
    EXPECT_GE(puff->vy, -15.0);
    EXPECT_LE(puff->vy, -7.0);
    EXPECT_EQ(puff->life, 0.8);
    EXPECT_EQ(puff->drag, -0.02);
    EXPECT_EQ(puff->blendDest, ALLEGRO_INVERSE_ALPHA);
  }
}

// Two hazards on one frame: the first reason stays, one death is counted, one set of puffs.
TEST(Hazards, TwoKillersInOneFrameGiveOneDeath) {
  ObjectScene scene;
  scene.floor(0, 10, 10);
  auto* avatar = scene.place(new Avatar(), 100, 180);
  scene.place(new Spikes(), 100, 180);
  scene.place(new ForceField(true), 100, 180);
  scene.start();
  int deathsBefore = progress().deaths;
  scene.frame();
  EXPECT_EQ(avatar->outcome().status, Outcome::Dead);
  EXPECT_EQ(avatar->outcome().reason, "ate some spiky death") << "spikes come first in the update list";
  EXPECT_EQ(progress().deaths, deathsBefore + 1);
  EXPECT_EQ(scene.count<Particle>(), 20);
  scene.frame();
  EXPECT_EQ(progress().deaths, deathsBefore + 1) << "a dead avatar does not die again";
  EXPECT_EQ(scene.count<Particle>(), 20);
}

// Down and X together while standing with an object: the object is put down, keeping its
// velocity, and is never left marked as carried by an empty-handed avatar.
TEST(Carrying, DownAndActionTogetherWhileStandingPutsTheObjectDown) {
  ObjectScene scene;
  scene.floor(0, 39, 10);
  auto* avatar = scene.place(new Avatar(), 100, 180);
  auto* bag = scene.place(new Bag(), 100, 180);
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
  auto* avatar = scene.place(new Avatar(), 100, 180);
  auto* bag = scene.place(new Bag(), 100, 160);
  bag->pickUp(avatar);
  avatar->carried = bag;
  auto* baddie = scene.place(new Baddie(true), 100, 150);
  baddie->carryState = Carryable::Free;
  scene.start();
  scene.frame();
  EXPECT_EQ(avatar->carried, nullptr);
  EXPECT_FALSE(scene.contains(bag));
  EXPECT_EQ(scene.count<Particle>(), 20);
  scene.frames(30);
  EXPECT_EQ(avatar->outcome().reason, "have become a snack for a feral baddie.");
}

// A bag eaten while it holds a lever down is forgotten, so the next arrival flips the lever.
TEST(Lever, ToucherRemovedFromTheWorldFreesTheLever) {
  ObjectScene scene;
  scene.floor(0, 39, 10);
  auto* lever = scene.place(new Lever(1, false), 100, 180);
  auto* bag = scene.place(new Bag(), 100, 180);
  auto* baddie = scene.place(new Baddie(true), 160, 180);
  scene.start();
  scene.frame();
  ASSERT_TRUE(lever->on) << "the bag's arrival flipped it";
  EXPECT_EQ(lever->toucher, bag);
  for (int i = 0; i < 60 && scene.contains(bag); ++i) scene.frame();
  ASSERT_FALSE(scene.contains(bag)) << "the baddie walked into the bag";
  EXPECT_EQ(lever->toucher, nullptr);
  baddie->kill();
  scene.frame();
  scene.place(new Bag(), 100, 180);
  scene.frame();
  scene.frame();
  EXPECT_FALSE(lever->on) << "the next bag flips it back";
  EXPECT_EQ(channelStates[1], 0);
}

// Objects that look for the avatar in a level that has none carry on without it.
TEST(NoAvatar, ObjectsThatLookForTheAvatarDoNothingWithoutOne) {
  ObjectScene scene;
  scene.floor(0, 39, 10);
  auto* feral = scene.place(new Baddie(true), 300, 180);
  auto* lever = scene.place(new Lever(2, false), 100, 180);
  scene.place(new Spikes(), 140, 180);
  scene.place(new ForceField(false), 160, 180);
  auto* sign = scene.place(new Message("Hello"), 200, 180);
  auto* garbage = scene.place(new Garbage(), 220, 180);
  scene.start();
  scene.frames(120);
  EXPECT_FALSE(lever->on);
  EXPECT_EQ(channelStates[2], 0);
  EXPECT_FALSE(sign->popUp->visible);
  EXPECT_TRUE(scene.contains(garbage));
  EXPECT_EQ(scene.context().garbageCollected, 0.0);
  EXPECT_EQ(feral->carryState, Carryable::Resting) << "still patrolling";
}

TEST(Message, PanelShowsWhileTheAvatarStandsAtTheSign) {
  ObjectScene scene;
  auto* sign = scene.place(new Message("Read me"), 200, 100);
  auto* avatar = scene.place(new Avatar(), 0, 0);
  scene.start();
  const struct {
    const char* label;
    double x, y;
    bool visible;
  } rows[] = {
      {"centre", 200, 100, true},     {"left end", 185, 100, true},  {"left of it", 184.9, 100, false},
      {"right end", 214.9, 100, true}, {"right of it", 215, 100, false}, {"top", 200, 90, true},
      {"above", 200, 89.9, false},     {"bottom", 200, 109.9, true},  {"below", 200, 110, false},
  };
  for (const auto& row : rows) {
    avatar->setPosition(row.x, row.y);
    sign->update(0.0);
    EXPECT_EQ(sign->popUp->visible, row.visible) << row.label;
  }
  EXPECT_EQ(sign->popUp->lines.size(), 1u);
  EXPECT_EQ(sign->popUp->lines[0].first, "Read me");
  EXPECT_EQ(sign->popUp->lines[0].second, "");
}

// The panel made by the constructor is freed when read replaces it (the leak checker of the
// sanitizer build would report it otherwise); a panel handed to the world goes at the flush.
TEST(Message, ReplacedPanelsAreFreedOrRemoved) {
  ObjectScene scene;
  auto* sign = new Message("first");
  sign->setText("second");
  scene.place(sign, 100, 100);
  scene.start();
  scene.frame();
  PopUp* shown = sign->popUp;
  ASSERT_TRUE(scene.contains(shown)) << "handed to the world on the first update";
  sign->setText("third");
  scene.world.flush();
  EXPECT_FALSE(scene.contains(shown)) << "the old panel leaves at the next flush";
  scene.frame();
  EXPECT_TRUE(scene.contains(sign->popUp));
  EXPECT_EQ(sign->popUp->lines[0].first, "third");
}

// A sign removed while its panel shows takes the panel along.
TEST(Message, KilledSignTakesItsPanelAlong) {
  ObjectScene scene;
  auto* sign = scene.place(new Message("Bye"), 100, 100);
  scene.place(new Avatar(), 100, 100);
  scene.start();
  scene.frame();
  PopUp* panel = sign->popUp;
  ASSERT_TRUE(panel->visible);
  sign->kill();
  scene.world.flush();
  EXPECT_EQ(scene.count<PopUp>(), 0);
  EXPECT_EQ(scene.count<Message>(), 0);
}

TEST(Message, RecordWithoutItsEndStopsAtTheEndOfTheFile) {
  initAllegroForTests();
  TempDir dir;
  std::string path = dir.file("cut.lv");
  writeFileBytes(path, std::string("ms\x03\x04Hel", 7));
  World world;
  LevelFileResult result = readLevel(path.c_str(), world);
  EXPECT_FALSE(result.ok);
  world.flush();
  EXPECT_TRUE(world.byTag(tagOf("entt")).empty());

  writeFileBytes(path, std::string("ms\x03\x04Hello$", 10));
  ASSERT_TRUE(readLevel(path.c_str(), world).ok);
  world.flush();
  auto* sign = dynamic_cast<Message*>(world.first(tagOf("mesg")));
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(sign->text, "Hello");
  EXPECT_EQ(sign->x(), 60.0);
  EXPECT_EQ(sign->y(), 80.0);
}

// A pad at (px, py) is pressed by a body at (ex, ey) exactly when px - 15 <= ex < px + 15 and
// py - 5 <= ey < py + 1; the channel is the resting value XOR pressed, with a sound on each edge.
TEST(PressPad, PressedExactlyInsideItsBoundsWithASoundOnEachEdge) {
  for (bool restingOn : {false, true}) {
    ObjectScene scene;
    auto* pad = scene.place(new PressPad(4, restingOn), 200, 300);
    auto* bag = scene.place(new Bag(), 0, 0);
    scene.start();
    const struct {
      const char* label;
      double x, y;
      bool pressed;
    } rows[] = {
        {"in its cell", 200, 300, true},    {"left bound", 185, 300, true},  {"left of it", 184.99, 300, false},
        {"inside right bound", 214.99, 300, true}, {"right bound", 215, 300, false}, {"top bound", 200, 295, true},
        {"above", 200, 294.99, false},      {"bottom", 200, 300.99, true},   {"below", 200, 301, false},
    };
    for (const auto& row : rows) {
      bag->setPosition(row.x, row.y);
      SoundLog sounds;
      bool before = pad->pressed;
      pad->update(0.0);
      EXPECT_EQ(pad->pressed, row.pressed) << row.label;
      EXPECT_EQ(channelStates[4], row.pressed != restingOn ? 1 : 0) << row.label;
      EXPECT_EQ(sounds.count(), before != row.pressed ? 1u : 0u) << row.label;
    }
  }
}

TEST(ForceField, VerticalBeamKillsAtItsCentreTopAndBottom) {
  const struct {
    const char* label;
    double x, y;
    bool dies;
  } rows[] = {
      {"top point (210, 300) at the box's bottom edge", 200, 280, false},
      {"top point just inside", 200, 280.01, true},
      {"bottom point (210, 320) at the box's top edge", 200, 318, true},
      {"bottom point just outside", 200, 318.01, false},
      {"beam on the box's left edge", 209, 300, true},
      {"beam left of the box", 209.01, 300, false},
      {"beam on the box's right edge", 191, 300, false},
      {"beam just inside the right edge", 191.01, 300, true},
  };
  for (const auto& row : rows) {
    ObjectScene scene;
    auto* avatar = scene.place(new Avatar(), row.x, row.y);
    auto* beam = scene.place(new ForceField(true), 200, 300);
    scene.start();
    beam->update(0.0);
    EXPECT_EQ(avatar->outcome().status == Outcome::Dead, row.dies) << row.label;
  }
}

// A bag lying at rest with its point in the mouth stays out; once free there, it goes in.
TEST(Container, TakesAFreeBagButNotOneAtRestInItsMouth) {
  ObjectScene scene;
  scene.floor(0, 39, 20);
  auto* bin = scene.place(new Container(200, 390, 1), 200, 390);
  auto* bag = scene.place(new Bag(), 200, 380);
  scene.start();
  scene.frames(3);
  EXPECT_EQ(bin->remaining, 1);
  EXPECT_TRUE(scene.contains(bag));
  bag->carryState = Carryable::Free;
  bin->update(0.0);
  EXPECT_EQ(bin->remaining, 0);
  scene.world.flush();
  EXPECT_FALSE(scene.contains(bag));
}

TEST(Baddie, FeralBaddieEatsTwoBagsInOneFrameWithPuffsForEach) {
  ObjectScene scene;
  scene.floor(0, 39, 20);
  scene.place(new Baddie(true), 100, 380);
  scene.place(new Bag(), 100, 380);
  scene.place(new Bag(), 110, 380);
  scene.start();
  SoundLog sounds;
  scene.frame();
  EXPECT_EQ(scene.count<Bag>(), 0);
  EXPECT_EQ(scene.count<Particle>(), 40);
  EXPECT_EQ(sounds.count(), 2u);
}

// Records of the level objects' kinds read back what was written, byte for byte (signs sort by
// place after every other kind in the saved order); a switch channel outside the table of ten
// is rejected.
TEST(ObjectRecords, RoundTripAndChannelsOutsideTheTable) {
  initAllegroForTests();
  TempDir dir;
  const std::string records = std::string("vr\x0A\x0F\x02\x01", 6) + std::string("pr\x01\x02\x09\x00", 6) +
                              std::string("ct\x03\x04\x05", 5) + std::string("ff\x05\x06\x00", 5) +
                              std::string("bd\x07\x08\x01", 5) + "gb\x01\x01" + "lg\x02\x02" + "sp\x03\x03" +
                              "fw\x04\x04" + "ms\x03\x04Hello$";
  std::string path = dir.file("objects.lv");
  writeFileBytes(path, records);
  World world;
  ASSERT_TRUE(readLevel(path.c_str(), world).ok);
  world.flush();
  auto* lever = dynamic_cast<Lever*>(world.first(tagOf("levr")));
  ASSERT_NE(lever, nullptr);
  EXPECT_EQ(lever->x(), 200.0);
  EXPECT_EQ(lever->y(), 300.0);
  EXPECT_EQ(lever->channel, 2);
  EXPECT_TRUE(lever->on);
  EXPECT_EQ(lever->editorLabel(), "lever(2,on)");
  std::string saved = dir.file("saved.lv");
  ASSERT_TRUE(writeLevel(saved.c_str(), world).ok);
  EXPECT_EQ(readFileBytes(saved), records);

  const struct {
    const char* label;
    std::string bytes;
  } bad[] = {
      {"lever on channel 10", std::string("gb\x01\x01vr\x01\x01\x0A\x00", 10)},
      {"press pad on channel 255", std::string("pr\x01\x01\xFF\x01", 6)},
  };
  for (const auto& row : bad) {
    writeFileBytes(path, row.bytes);
    World rejected;
    LevelFileResult result = readLevel(path.c_str(), rejected);
    EXPECT_FALSE(result.ok) << row.label;
    EXPECT_NE(result.message.find("channel"), std::string::npos) << row.label << ": " << result.message;
  }
}

// A cloud drifts left at its own speed and comes back at the right edge, at a new height, only
// once its right edge has passed x = 0.
TEST(Cloud, DriftsLeftAndReentersAtTheRightEdge) {
  initAllegroForTests();
  createThemes();
  Cloud cloud;
  EXPECT_GE(cloud.speed, 15.0);
  EXPECT_LE(cloud.speed, 30.0);
  cloud.speed = 20;
  cloud.setPosition(10, 100);
  cloud.update(0.5);
  EXPECT_DOUBLE_EQ(cloud.x(), 0.0);
  EXPECT_DOUBLE_EQ(cloud.y(), 100.0);
  double width = al_get_bitmap_width(bitmapResource("media/cloud.png"));
  cloud.setPosition(-width + 1, 100);
  cloud.update(0.05);
  EXPECT_DOUBLE_EQ(cloud.x(), -width) << "right edge exactly at 0: still on screen";
  cloud.update(0.05);
  EXPECT_EQ(cloud.x(), 800.0);
  EXPECT_GE(cloud.y(), -20.0);
  EXPECT_LE(cloud.y(), 580.0);
}

}  // namespace
