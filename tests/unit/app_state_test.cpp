#include "app/app_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/input_snapshot.h"
#include "app/switch.h"
#include "unit/test_support.h"

namespace {

using Log = std::vector<std::string>;

// A state with no display that logs the loop's steps; it never reaches drawing, which would
// need a display, so a loop that drew when it should not would crash the test.
class ScriptedState : public AppState {
 public:
  ScriptedState(Log& log, RunStatus endStatus, bool allowClose = true)
      : AppState(nullptr), log_(log), endStatus_(endStatus), allowClose_(allowClose) {}

  void processEvents() override { log_.push_back("events"); }
  void pollInput() override {
    log_.push_back("poll");
    AppState::pollInput();
  }
  void update(double dt) override {
    log_.push_back(dt > 0 ? "update" : "update without time");
    EXPECT_EQ(currentState(), this);
    if (duringUpdate) duringUpdate();
    if (status == RunStatus::Running) status = endStatus_;
  }
  bool onCloseRequest() override { return allowClose_; }

  std::function<void()> duringUpdate;

 private:
  Log& log_;
  RunStatus endStatus_;
  bool allowClose_;
};

TEST(AppState, NestedRunDrainsTheOuterQueueRestartsItsClockAndPassesACloseUpward) {
  const std::tuple<const char*, RunStatus, bool, RunStatus> rows[] = {
      {"inner finished by itself", RunStatus::Done, true, RunStatus::Running},
      {"window closed inside", RunStatus::Closed, true, RunStatus::Closed},
      {"window closed inside, outer refuses", RunStatus::Closed, false, RunStatus::Running},
  };
  initAllegroForTests();
  for (const auto& [label, innerStatus, outerAllowsClose, outerStatus] : rows) {
    SCOPED_TRACE(label);
    Log outerLog, innerLog;
    ScriptedState outer(outerLog, RunStatus::Running, outerAllowsClose);
    ALLEGRO_EVENT_SOURCE source;
    al_init_user_event_source(&source);
    al_register_event_source(outer.queue, &source);
    for (int i = 0; i < 3; ++i) {
      ALLEGRO_EVENT event{};
      event.user.type = ALLEGRO_GET_EVENT_TYPE('T', 'E', 'S', 'T');
      al_emit_user_event(&source, &event, nullptr);
    }
    setCurrentState(&outer);

    ScriptedState inner(innerLog, innerStatus);
    runNested(outer, inner);
    EXPECT_EQ(innerLog, (Log{"events", "poll", "update"}));
    EXPECT_TRUE(al_is_event_queue_empty(outer.queue)) << "events gathered meanwhile are dropped";
    EXPECT_TRUE(outer.clock->running()) << "the outer clock starts again";
    EXPECT_EQ(outer.status, outerStatus);
    EXPECT_EQ(currentState(), &outer);
    EXPECT_TRUE(outerLog.empty()) << "the outer state handled none of the dropped events";

    setCurrentState(nullptr);
    al_unregister_event_source(outer.queue, &source);
    al_destroy_user_event_source(&source);
  }
}

// The inner state's own poll sees Escape go down; held on past the inner state's end, the key
// is not pressed again in the outer state.
TEST(AppState, KeyHeldAcrossTheEndOfANestedStateIsNotPressedAgainOutside) {
  initAllegroForTests();
  Controls();
  Log log;
  ScriptedState outer(log, RunStatus::Running);
  AppStateBase* previous = currentState();
  setCurrentState(&outer);
  outer.pollInput();
  bool innerSawEscape = false;
  ScriptedState inner(log, RunStatus::Done);
  inner.duringUpdate = [&] { innerSawEscape = Controls()[kControlEscape]->isDown(); };
  setKeyDown(inner.keyboard, ALLEGRO_KEY_ESCAPE, true);
  runNested(outer, inner);
  EXPECT_TRUE(innerSawEscape);
  const std::tuple<const char*, bool, bool> rows[] = {
      {"still held in the outer state", true, false}, {"released", false, false}, {"pressed again", true, true}};
  for (const auto& [label, escapeDown, pressed] : rows) {
    setKeyDown(outer.keyboard, ALLEGRO_KEY_ESCAPE, escapeDown);
    outer.pollInput();
    EXPECT_EQ(Controls()[kControlEscape]->isDown(), pressed) << label;
  }
  setCurrentState(previous);
}

}  // namespace
