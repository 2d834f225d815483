#include "states/play_state.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/frame_clock.h"
#include "entities/cloud.h"
#include "unit/sim_run.h"
#include "world/channel_states.h"
#include "world/tag.h"

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

class PlayRun : public SimRun {
 protected:
  void press(const std::vector<int>& keys) { sim->step(keys, kDt); }
  PlayState& state() { return sim->state(); }
};

TEST_F(PlayRun, KeysEndThePlayWithTheirResults) {
  enum Before { kPlaying, kCompleted, kDead };
  const std::tuple<const char*, Before, bool, std::vector<int>, int, int> rows[] = {
      {"Escape: back to the menu", kPlaying, false, {ALLEGRO_KEY_ESCAPE}, 1, 0},
      {"R: retry", kPlaying, false, {ALLEGRO_KEY_R}, 1, 1},
      {"Escape and R together: R wins", kPlaying, false, {ALLEGRO_KEY_ESCAPE, ALLEGRO_KEY_R}, 1, 1},
      {"Space while alive: nothing", kPlaying, false, {ALLEGRO_KEY_SPACE}, 0, 0},
      {"Space over Escape on completing: next level", kCompleted, false, {ALLEGRO_KEY_SPACE, ALLEGRO_KEY_ESCAPE}, 1, 2},
      {"Escape alone after a completion: the menu", kCompleted, true, {ALLEGRO_KEY_ESCAPE}, 1, 0},
      {"the death report waits for a key", kDead, true, {}, 0, 0},
      {"Space over Escape after a death: retry", kDead, true, {ALLEGRO_KEY_SPACE, ALLEGRO_KEY_ESCAPE}, 1, 1},
  };
  for (const auto& [label, before, reportShown, keys, status, result] : rows) {
    SCOPED_TRACE(label);
    load(floorLevel());
    if (before == kCompleted) avatar().complete();
    if (before == kDead) avatar().die("ate some spiky death");
    if (reportShown) press({});
    press(keys);
    EXPECT_EQ(state().status, status);
    EXPECT_EQ(state().status ? state().result : 0, result);
    EXPECT_EQ(state().report != nullptr, before != kPlaying);
  }
}

// Level 1 (index 0) has the target time 15 s: 960 frames of 1/64 s reach it exactly.
TEST_F(PlayRun, CompletionReportAndTheCrownsAtAndUnderTheTargetTime) {
  const std::tuple<const char*, int, const char*, const char*, bool> rows[] = {
      {"at the target time", 960, "15.00s",
       "If you do this under the target time, you will get a silver crown as well.", false},
      {"one frame under it", 959, "14.98s", "And all that under the target time, well done! Silver crown awarded!",
       true},
  };
  for (const auto& [label, frameCount, elapsed, secondCrownLine, silver] : rows) {
    SCOPED_TRACE(label);
    load(floorLevel(), 0);
    frames(64, "R");
    frames(1, "Z");
    frames(3);
    frames(1, "Z");
    frames(frameCount - 69);
    avatar().complete();
    frames(1);
    ASSERT_NE(state().report, nullptr);
    EXPECT_TRUE(state().report->visible);
    const Lines expected = {
        {"You have completed the level!", ""},
        {"", ""},
        {"Loose garbage collected:", "100%"},
        {"Elapsed time:", elapsed},
        {"Target time:", "15.00s"},
        {"Jumps performed:", "1"},
        {"Double jumps:", "1"},
        {"Pixels traversed:", "200"},
        {"Throws:", "0"},
        {"", ""},
        {"You have gathered all the loose garbage! A golden crown for you!", " "},
        {secondCrownLine, " "},
        {"", ""},
        {"SPACE - next level, R - retry", "ESC - back to menu"},
    };
    EXPECT_EQ(state().report->lines, expected);
    const LevelRecord& record = progress().records[0];
    EXPECT_TRUE(record.completed && record.golden) << "no loose garbage counts as all of it";
    EXPECT_EQ(record.silver, silver);
    EXPECT_EQ(record.bestTime, frameCount / 64.0);
  }
}

// Slow frames never change the outcome: the game's frame clock turns every frame, however
// long, into steps of at most 0.017 s. Each drawn frame here takes `frameLength` of the clock's
// (injected) time; Z, when given, is held in the first step only.
TEST_F(PlayRun, SlowFramesGiveTheSameOutcomesThroughTheFrameClock) {
  const std::string floor(40, '0');
  const std::tuple<const char*, std::string, const char*, Outcome::Status> rows[] = {
      {"a bag dropped into a bin from row 5", gridLevel({{20, floor}}, "av 2 19\ngb 10 5\nct 10 19 1\n"), "",
       Outcome::Completed},
      {"a fall of 25 rows", gridLevel({{3, "..A"}, {28, floor}}), "", Outcome::Playing},
      {"a jump under a ceiling three rows up", gridLevel({{23, floor}, {27, "..A"}, {28, floor}}), "Z",
       Outcome::Playing},
  };
  for (const auto& [label, level, firstKeys, outcome] : rows) {
    for (double frameLength : {0.017, 0.05, 0.12}) {
      SCOPED_TRACE(std::string(label) + ", frames of " + std::to_string(frameLength) + " s");
      load(level);
      double now = 0.0;
      FrameClock clock([&now] { return now; }, [&now](double seconds) { now += seconds; });
      clock.start();
      std::vector<int> keys;
      ASSERT_TRUE(keyCodesOf(firstKeys, keys));
      while (now < 3.0) {
        FrameStep step = clock.tick();
        ASSERT_LE(step.dt, 0.017 + 1e-12);
        sim->step(keys, step.dt);
        keys.clear();
        if (!step.skipDraw) now += frameLength;
      }
      EXPECT_EQ(avatar().outcome().status, outcome) << avatar().outcome().reason;
      EXPECT_EQ(avatar().y(), 380.0 + (outcome == Outcome::Completed ? 0 : 160)) << "standing on its floor";
    }
  }
}

// The game's record is written the moment a death or a completion is reported, not only at
// quit; a record that was never loaded from a file (the simulator's) is never written.
TEST_F(PlayRun, DeathsAndCompletionsAreSavedAtOnce) {
  const std::string saved = directory.file("binhopper.dat");
  progress().path = saved;
  load(floorLevel(), 0);
  avatar().die("ate some spiky death");
  frames(1);
  EXPECT_EQ(readFileBytes(saved), "") << "not loaded from the file";
  progress().loaded = true;
  load(floorLevel(), 0);
  avatar().die("ate some spiky death");
  frames(1);
  EXPECT_EQ(readFileBytes(saved).substr(0, 4), std::string("\x02\0\0\0", 4)) << "two deaths";
  load(floorLevel(), 0);
  avatar().complete();
  frames(1);
  EXPECT_EQ(readFileBytes(saved).at(6), '\x01') << "level 1 completed";
  progress() = Progress();
}

TEST_F(PlayRun, DeathReportCountsTheDeathJustSuffered) {
  progress().deaths = 6;
  load(gridLevel({{0, "A"}}));
  frames(118);
  ASSERT_NE(state().report, nullptr);
  const Lines expected = {
      {"You fell of the face of the world.", ""}, {"", ""}, {"Total deaths so far:", "7"}, {"", ""}, {"", ""},
      {"SPACE, R - retry", "ESC - back to menu"},
  };
  EXPECT_EQ(state().report->lines, expected);
  EXPECT_EQ(state().zoom, 1.0) << "no zoom after a death";
  EXPECT_EQ(progress().completedCount(), 0u);
}

// Every object that looks for the avatar, in a level that has none: nothing happens to them,
// the play state survives and Escape still leaves.
TEST_F(PlayRun, LevelWithoutAnAvatarPlaysUntilEscape) {
  load(gridLevel({{20, std::string(40, '0')}}, R"(ms 4 19 "Nobody reads this"
bd 8 19 feral
vr 12 19 1 off
sp 14 19
ff 16 19 vertical
lg 18 19
gb 20 19
pr 22 19 2 on
ct 24 19 1
fw 26 10
)"));
  frames(200, "RZX");
  EXPECT_EQ(sim->end().rfind("END frames=200 status=0 reason=\"\"", 0), 0u) << sim->end();
  EXPECT_NE(sim->end().find(" garbage=0 loose=1"), std::string::npos) << sim->end();
  EXPECT_EQ(channelStates[1] * 10 + channelStates[2], 1) << "lever still off, pad not pressed";
  EXPECT_EQ(state().report, nullptr);
  int clouds = 0;
  for (Entity* e : state().world->byTag(tagOf("rndr"))) clouds += dynamic_cast<Cloud*>(e) != nullptr;
  EXPECT_EQ(clouds, 24) << "every level has its 24 clouds";
  press({ALLEGRO_KEY_ESCAPE});
  EXPECT_EQ(state().status, 1);
  EXPECT_EQ(state().result, 0);
}

TEST(ClosingZoom, SourceRectangleKeepsItsSizeInsideTheScreen) {
  const std::tuple<const char*, double, double, double, Box> rows[] = {
      {"no zoom", 1.0, 700, 100, {0, 0, 800, 600}},
      {"full zoom mid-screen: above the avatar", 4.0, 390, 320, {300, 225, 500, 375}},
      {"top-left corner", 4.0, 0, 0, {0, 0, 200, 150}},
      {"bottom-right corner", 4.0, 780, 580, {600, 450, 800, 600}},
  };
  for (const auto& [label, zoom, avatarX, avatarY, expected] : rows) {
    Box source = closingZoomSource(zoom, avatarX, avatarY);
    EXPECT_EQ(std::vector<double>({source.left, source.top, source.right, source.bottom}),
              std::vector<double>({expected.left, expected.top, expected.right, expected.bottom}))
        << label;
  }
  for (double zoom = 1.0; zoom < 4.0; zoom = nextZoom(zoom))
    for (double x = -20; x <= 820; x += 40)
      for (double y = -20; y <= 620; y += 40) {
        Box source = closingZoomSource(zoom, x, y);
        EXPECT_TRUE(source.left >= 0 && source.top >= 0 && source.right <= 800 && source.bottom <= 600)
            << x << ", " << y;
        EXPECT_NEAR(source.right - source.left, 800.0 / zoom, 1e-9);
        EXPECT_NEAR(source.bottom - source.top, 600.0 / zoom, 1e-9);
      }
}

}  // namespace
