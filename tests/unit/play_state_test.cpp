#include "states/play_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/frame_clock.h"
#include "app/switch.h"
#include "gui/run_timer.h"
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

// Slow frames never change the outcome: the game's frame clock turns every frame, however
// long, into steps of at most 0.017 s. Nor do the shorter steps of a clock paced by a display's
// refresh with vertical sync. Each drawn frame here takes `frameLength` of the clock's
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
  // The clock's minimum frame, and the length of each drawn frame.
  const std::pair<double, double> paces[] = {{0.017, 0.017},    {0.017, 0.05},      {0.017, 0.12},
                                             {1.0 / 60, 0.001}, {1.0 / 120, 0.001}, {1.0 / 144, 0.001}};
  for (const auto& [label, level, firstKeys, outcome] : rows) {
    for (const auto& [minimumFrame, frameLength] : paces) {
      SCOPED_TRACE(std::string(label) + ", minimum frame " + std::to_string(minimumFrame) + " s, frames of " +
                   std::to_string(frameLength) + " s");
      load(level);
      double now = 0.0;
      FrameClock clock([&now] { return now; }, [&now](double seconds) { now += seconds; }, minimumFrame);
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
  const ChannelStates& channels = context().channelStates;
  EXPECT_EQ(channels[1] * 10 + channels[2], 1) << "lever still off, pad not pressed";
  press({ALLEGRO_KEY_ESCAPE});
  EXPECT_EQ(state().status, RunStatus::Done);
  EXPECT_EQ(state().result(), PlayResult::Menu);
}

// A second level beside the one played, updated in the same frames, as a recorded run is played
// back beside the player's: fed its own controls and counting its deaths nowhere. Its avatar
// walks right over a lever that switches channel 1 off, then into spikes; the played level's
// avatar, standing on channel-1 tiles, stands on, and neither level's counters see the other.
TEST_F(PlayRun, TwoLevelsAliveAtOnceShareNothing) {
  const std::string floor = "0000111" + std::string(33, '0');
  load(gridLevel({{27, ".....A..............^"}, {28, floor}}, "vr 10 27 1 on\n"), 0);
  SetSwitch idle, right;
  right.down = true;
  PlayState beside(PlayedLevel{}, directory.file("test.lv").c_str(), *themes[0]);
  PlayContext& besideContext = beside.session().context();
  besideContext.controls = PlayControls{&idle, &right, &idle, &idle, &idle, &idle};
  besideContext.player = nullptr;
  const int deaths = progress().deaths;
  for (int frame = 0; frame < 128; ++frame) {
    frames(1);
    beside.update(kDt);
  }
  Avatar& walker = *beside.session().avatar();
  EXPECT_EQ(walker.outcome().reason, "ate some spiky death") << "it walked by its own controls";
  EXPECT_EQ(besideContext.channelStates[1], 0) << "its lever switched its channel";
  EXPECT_EQ(context().channelStates[1], 1);
  EXPECT_EQ(avatar().y(), 540.0) << "the played avatar's floor stayed";
  EXPECT_EQ(avatar().outcome().status, Outcome::Playing);
  EXPECT_EQ(progress().deaths, deaths) << "a death beside counts nowhere";
  EXPECT_EQ(context().pixelsTraversed, 0.0);
  EXPECT_EQ(context().elapsedTime, 2.0);
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
}

// The timer keeps clear of every panel and shows the played campaign's target: a pack's level
// its own, not the built-in level of the same number.
TEST_F(PlayRun, TimerKeepsClearOfPanelsAndShowsThePlayedCampaignsTarget) {
  Progress pack;
  pack.targets = {5.5};
  pack.ensureRecords(1);
  // Label, the level, whether the avatar dies, whether the pack is played, where the timer
  // sits (top or bottom) and its target.
  const std::tuple<const char*, std::string, bool, bool, const char*, const char*> rows[] = {
      {"alone, at the top", floorLevel(), false, false, "top", "15.00s"},
      {"a pack's level", floorLevel(), false, true, "top", "5.50s"},
      {"under a sign's text, at the bottom", floorLevel("ms 5 27 \"Read me\"\n"), false, true, "bottom", "5.50s"},
      {"under the death report, at the bottom", floorLevel(), true, false, "bottom", "15.00s"},
  };
  for (const auto& [label, level, dies, packPlayed, place, target] : rows) {
    SCOPED_TRACE(label);
    PlayedLevel played = playedAtIndex(0);
    if (packPlayed) played.record = &pack;
    load(level, played);
    state().showTimer(true);
    if (dies) avatar().die("fell");
    press({});
    std::optional<RunTimerLine> line = state().timerLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->place.top < 300 ? "top" : "bottom", std::string(place));
    EXPECT_EQ(line->text.substr(line->text.find("/ ") + 2), target);
    if (const PopUp* report = state().reportPanel()) {
      EXPECT_FALSE(report->panel().bottom > line->place.top) << "overlaps the report";
    }
  }
  // Top and bottom both covered: the bottom left corner.
  RunTimerLine cornered = runTimerLine(1.0, 2.0, {{0, 0, 800, 300}, {200, 500, 600, 600}});
  EXPECT_LT(cornered.place.right, 200);
  EXPECT_GT(cornered.place.top, 500);
}

// WCAG contrast of two colours: (lighter + 0.05) / (darker + 0.05) of their luminances.
double luminance(double r, double g, double b) {
  auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}
double contrast(double first, double second) {
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The timer's text against its own backing as drawn over the brightest and the darkest sky:
// both colours stay readable, the silver after the target included.
TEST(RunTimer, ColoursKeepTheirContrastOverAnySky) {
  initAllegroForTests();
  RunTimerLine line = runTimerLine(20.0, 15.0, {});
  ASSERT_TRUE(line.pastTarget);
  for (ALLEGRO_COLOR sky : {al_map_rgb(255, 255, 255), al_map_rgb(0, 0, 0), al_map_rgb(255, 255, 0)}) {
    Canvas canvas(800, 600, sky);
    drawRunTimer(line);
    Rgb backing = canvas.at(static_cast<int>(line.place.left) + 1, static_cast<int>(line.place.top) + 1);
    double behind = luminance(backing.r / 255.0, backing.g / 255.0, backing.b / 255.0);
    for (ALLEGRO_COLOR text : {kRunTimerWhite, kRunTimerSilver}) {
      EXPECT_GE(contrast(luminance(text.r, text.g, text.b), behind), 4.5)
          << "backing " << backing.r << "," << backing.g << "," << backing.b;
    }
  }
}

}  // namespace
