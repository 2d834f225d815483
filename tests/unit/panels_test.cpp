#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/gamepad.h"
#include "app/input_snapshot.h"
#include "editor/test_play.h"
#include "replay/replay.h"
#include "states/help_state.h"
#include "states/options_state.h"
#include "unit/sim_run.h"

namespace {

// One frame's input by name: a key ("space", "esc", "P", "R", "enter", "down", "left"), the pad
// ("A", "B", "X", "Y", "start", "stick down"), or "click N", the Nth entry of the pause menu.
struct Held {
  int key = 0;
  GamepadReading pad;
  int click = -1;
};

Held held(const std::string& token) {
  static const std::map<std::string, int> keys = {
      {"space", ALLEGRO_KEY_SPACE}, {"esc", ALLEGRO_KEY_ESCAPE}, {"P", ALLEGRO_KEY_P},      {"R", ALLEGRO_KEY_R},
      {"enter", ALLEGRO_KEY_ENTER}, {"down", ALLEGRO_KEY_DOWN},  {"left", ALLEGRO_KEY_LEFT}};
  static const std::map<std::string, int> buttons = {{"A", 0}, {"B", 1}, {"X", 2}, {"Y", 3}, {"start", 9}};
  Held frame;
  frame.pad.buttons = std::vector<bool>(10, false);
  frame.pad.startButton = 9;
  frame.pad.sticks = {{false, 2, 0.0f, token == "stick down" ? 1.0f : 0.0f}};
  if (keys.count(token)) frame.key = keys.at(token);
  if (buttons.count(token)) frame.pad.buttons[buttons.at(token)] = true;
  if (token.rfind("click ", 0) == 0) frame.click = std::stoi(token.substr(6));
  return frame;
}

std::vector<std::string> tokens(const std::string& line) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(',', start);
    if (end == std::string::npos) end = line.size();
    words.push_back(line.substr(start, end - start));
    start = end + 2;
  }
  return words;
}

// A state's snapshots written for one frame: the key, the pad (its keys into the snapshot as
// the game's poll adds them) and the mouse on a point.
void write(AppState& state, const Held& frame, int mouseX, int mouseY, bool button) {
  state.keyboard = ALLEGRO_KEYBOARD_STATE{};
  if (frame.key) setKeyDown(state.keyboard, frame.key, true);
  pressGamepadKeys(frame.pad, state.keyboard);
  setMousePosition(state.mouse, mouseX, mouseY);
  setMouseButton(state.mouse, 1, button);
  setCurrentState(&state);
  refreshRootSwitches();
}

class PanelRun : public SimRun {
 protected:
  void TearDown() override {
    pressGamepadKeys(GamepadReading(), scratch_);
    SimRun::TearDown();
  }
  // Each token is held for one frame and let go in the next.
  void play(const std::string& line) {
    for (const std::string& token : tokens(line)) {
      if (sim->state().status != RunStatus::Running) return;
      Held frame = held(token);
      int x = 0, y = 0;
      if (frame.click >= 0) {
        const Box& rect = sim->state().pauseButtons().at(frame.click)->rect;
        x = static_cast<int>((rect.left + rect.right) / 2);
        y = static_cast<int>((rect.top + rect.bottom) / 2);
        step(Held(), x, y, false);
      }
      step(frame, x, y, frame.click >= 0);
      if (sim->state().status == RunStatus::Running) step(Held(), x, y, false);
    }
  }
  void step(const Held& frame, int x, int y, bool button) {
    write(sim->state(), frame, x, y, button);
    sim->state().update(kDt);
  }
  // What became of the play: its result once ended, else whether it is paused, shows its
  // report or plays on.
  std::string now() {
    PlayState& play = sim->state();
    if (play.status != RunStatus::Running)
      return play.result() == PlayResult::Menu ? "menu" : play.result() == PlayResult::Retry ? "retry" : "next";
    return play.paused() ? "paused" : play.session().report() ? "report" : "playing";
  }
  // The level in a state: "playing", "dying" (its death report comes in the next frame),
  // "dead" (the report shows), "completed", or "watched" (a replay of three frames watched to
  // its end).
  void prepare(const std::string& setup, int records = 1) {
    PlayedLevel played = playedAtIndex(0);
    played.last = true;
    played.kind = setup == "watched" ? PlayKind::Watch : PlayKind::Numbered;
    load(setup == "completed" ? bagLevel() : floorLevel(), played);
    progress().ensureRecords(records);
    if (setup == "dying" || setup == "dead") avatar().die("fell");
    if (setup == "dead") step(Held(), 0, 0, false);
    if (setup == "watched") {
      Replay replay;
      replay.runs = {{kDt, PlayInput(), 3}};
      sim->state().session().watch(replay);
      for (int i = 0; i < 4; ++i) step(Held(), 0, 0, false);
    }
    for (int i = 0; setup == "completed" && !sim->state().session().report() && i < 600; ++i) step(Held(), 0, 0, false);
  }
  // A bag above a bin: it falls in and the level is completed.
  static std::string bagLevel() { return gridLevel({{20, std::string(40, '0')}}, "av 2 19\ngb 10 5\nct 10 19 1\n"); }
  std::pair<std::string, std::string> prompt() { return sim->state().reportPanel()->lines.back(); }

  ALLEGRO_KEYBOARD_STATE scratch_{};
};

// Report, pause and replay end answer the pad as they answer the keys; nothing of a panel's
// answers while the level is played.
TEST_F(PanelRun, PadAndKeysOnEveryPanelOfAPlay) {
  const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
      {"death report: Space retries", "dead", "space", "retry"},
      {"death report: A retries", "dead", "A", "retry"},
      {"death report: X retries", "dead", "X", "retry"},
      {"death report: B goes back to the menu", "dead", "B", "menu"},
      {"death report: Escape goes back", "dead", "esc", "menu"},
      {"death report: Start does not pause it", "dead", "start", "report"},
      {"the A that jumped as the avatar died is no answer", "dying", "A", "report"},
      {"completion report: A goes on", "completed", "A", "next"},
      {"completion report: X retries", "completed", "X", "retry"},
      {"completion report: B goes back", "completed", "B", "menu"},
      {"playing: B and X are the avatar's, no way out", "playing", "B, X", "playing"},
      {"playing: Start pauses", "playing", "start", "paused"},
      {"playing: P pauses", "playing", "P", "paused"},
      {"paused: P resumes", "playing", "P, P", "playing"},
      {"paused: Escape resumes, never leaves", "playing", "P, esc", "playing"},
      {"paused: B resumes", "playing", "start, B", "playing"},
      {"paused: Start resumes", "playing", "start, start", "playing"},
      {"paused: the first arrow only shows the focus", "playing", "P, down, enter", "playing"},
      {"paused: the stick to Retry, A presses", "playing", "start, stick down, stick down, A", "retry"},
      {"paused: arrows to Back to menu, Enter", "playing", "P, down, down, down, down, enter", "menu"},
      {"paused: the focus stops at the last entry", "playing", "P, down, down, down, down, down, down, enter", "menu"},
      {"paused: a click on Retry", "playing", "P, click 1", "retry"},
      {"paused: a click on Resume", "playing", "P, click 0", "playing"},
      {"replay end: Space watches again", "watched", "space", "retry"},
      {"replay end: A watches again", "watched", "A", "retry"},
      {"replay end: B goes back", "watched", "B", "menu"},
      {"replay end: Escape goes back", "watched", "esc", "menu"},
  };
  for (const auto& [label, setup, events, expected] : rows) {
    SCOPED_TRACE(label);
    prepare(setup);
    play(events);
    EXPECT_EQ(now(), expected);
  }
}

// The prompts name the pad's buttons while the pad was used last, the keys after a key press;
// the last level's Space names where it leads.
TEST_F(PanelRun, PromptsNameTheDeviceUsedLast) {
  using Line = std::pair<std::string, std::string>;
  const std::tuple<const char*, const char*, int, const char*, Line> rows[] = {
      {"a death on the keyboard", "dead", 1, "left", {"SPACE, R - retry", "ESC - back to menu"}},
      {"a death after the pad", "dead", 1, "left, stick down", {"A, X - retry", "B - back to menu"}},
      {"keys again after a key", "dead", 1, "stick down, left", {"SPACE, R - retry", "ESC - back to menu"}},
      {"the last level with every level completed",
       "completed",
       1,
       "left",
       {"SPACE - to the final screen, R - retry", "ESC - back to menu"}},
      {"the last level with one still to complete",
       "completed",
       2,
       "left, stick down",
       {"A - back to the menu, X - retry", "B - back to menu"}},
      {"the end of a replay", "watched", 1, "left", {"SPACE - watch again", "ESC - back"}},
      {"the end of a replay on the pad", "watched", 1, "left, stick down", {"A - watch again", "B - back"}},
  };
  for (const auto& [label, setup, records, events, expected] : rows) {
    SCOPED_TRACE(label);
    prepare(setup, records);
    play(events);
    ASSERT_TRUE(sim->state().reportPanel());
    EXPECT_EQ(prompt(), expected);
    if (std::string(setup) == "watched") {
      EXPECT_EQ(sim->state().reportPanel()->lines.front().first, "End of the run");
    }
  }
}

// The help and options screens over a level held still: the keys and the pad leave them, the
// arrows alone do not, and the level behind stands.
TEST_F(PanelRun, HelpAndOptionsLeaveByKeysAndPad) {
  const std::tuple<const char*, const char*, const char*, bool> rows[] = {
      {"help: Escape", "help", "esc", true},
      {"help: B", "help", "B", true},
      {"help: Start", "help", "start", true},
      {"help: the stick shows the focus on Back, A presses it", "help", "stick down, A", true},
      {"help: an arrow alone", "help", "down", false},
      {"help: A alone only shows the focus", "help", "A", false},
      {"options: B", "options", "B", true},
      {"options: Start", "options", "start", true},
      {"options: Escape", "options", "esc", true},
      {"options: an arrow alone", "options", "down", false},
  };
  Settings settings;
  for (const auto& [label, screen, events, leaves] : rows) {
    SCOPED_TRACE(label);
    prepare("playing");
    const double time = context().elapsedTime;
    std::unique_ptr<AppState> shown;
    if (std::string(screen) == "help") shown = std::make_unique<HelpState>(sim->state(), SceneMotion::Frozen);
    if (std::string(screen) == "options")
      shown = std::make_unique<OptionsState>(settings, sim->state(), SceneMotion::Frozen);
    for (const std::string& token : tokens(events)) {
      for (const Held& frame : {held(token), Held()}) {
        write(*shown, frame, 0, 0, false);
        shown->update(kDt);
      }
    }
    EXPECT_EQ(shown->status == RunStatus::Done, leaves);
    EXPECT_EQ(context().elapsedTime, time);
    setCurrentState(&sim->state());
  }
}

// The editor's test play: a level of a campaign folder reports that campaign's target, any
// other file none (and no silver crown); deaths count in the editor's own record, not in any
// campaign's.
TEST_F(PanelRun, TestPlayReportsTheEditedCampaignsTargetAndItsOwnDeaths) {
  std::filesystem::create_directories(directory.file("zeta"));
  writeFileBytes(directory.file("zeta/pack.txt"), "name = Zeta\nlevel 1 = 5.5 Bin Day\n");
  LevelTextResult level = compileLevelText(bagLevel(), levelKinds());
  ASSERT_TRUE(level.ok);
  writeFileBytes(directory.file("zeta/1.lv"), level.output);
  writeFileBytes(directory.file("edit.lv"), level.output);
  // The file edited, and the report's target line (none: empty) and crown lines.
  const std::tuple<const char*, std::string, const char*, size_t> rows[] = {
      {"a pack's level", directory.file("zeta/1.lv"), "5.50s", 2},
      {"a file of no campaign", directory.file("edit.lv"), "", 1},
  };
  for (const auto& [label, file, target, crownLines] : rows) {
    SCOPED_TRACE(label);
    Progress session;
    PlayedLevel tested = testPlayOf(file, session);
    sim = std::make_unique<Simulator>(file.c_str(), tested);
    for (int i = 0; !sim->state().session().report() && i < 600; ++i) step(Held(), 0, 0, false);
    const Report* report = sim->state().session().report();
    ASSERT_TRUE(report);
    std::string shownTarget;
    size_t highlighted = 0;
    for (const ReportLine& line : report->lines) {
      if (line.left == "Target time:") shownTarget = line.right;
      if (line.highlighted) ++highlighted;
    }
    EXPECT_EQ(shownTarget, target);
    EXPECT_EQ(highlighted, crownLines);
  }
  progress().deaths = 7;
  Progress session;
  load(floorLevel(), testPlayOf(directory.file("edit.lv"), session));
  avatar().die("fell");
  step(Held(), 0, 0, false);
  ASSERT_TRUE(sim->state().session().report());
  EXPECT_EQ(sim->state().session().report()->lines[2].right, "1") << "the test play's own death only";
  EXPECT_EQ(progress().deaths, 7);
}

}  // namespace
