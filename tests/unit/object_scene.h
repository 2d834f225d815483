#pragma once

#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/input_snapshot.h"
#include "app/switch.h"
#include "campaign/progress.h"
#include "entities/particle.h"
#include "sim/input_script.h"
#include "unit/test_support.h"
#include "world/play_context.h"
#include "world/tile.h"
#include "world/world.h"

// A small level built by hand for the level-object tests: a world, the play context of its
// level whose grid is built from the tiles placed, and a keyboard the test presses. Each frame
// runs as the play state runs it: switches refreshed, then the world's update.
class ObjectScene : public TestState {
 public:
  static constexpr double kDt = 0.017;  // s, the simulator's default frame

  ObjectScene() {
    initAllegroForTests();
    context_.player = &progress();
    world.context = &context_;
  }

  // A new T made of the arguments, at (x, y).
  template <typename T, typename... Args>
  T* place(double x, double y, Args&&... args) {
    T& entity = world.add<T>(std::forward<Args>(args)...);
    entity.setPosition(x, y);
    return &entity;
  }
  // Tiles of channel 0 in the row, from column fromCol to toCol.
  void floor(int fromCol, int toCol, int row) {
    for (int col = fromCol; col <= toCol; ++col) world.add<Tile>(0, nullptr, col, row);
  }
  // Enters the placed entities and builds the grid, as a play state does after loading.
  void start() {
    world.flush();
    context_.grid->build(world);
  }

  // One frame with the keys of `keys` held: letters from "LRUDZX", as in simulator scripts.
  void frame(const std::string& keys = "", double dt = kDt) {
    std::vector<int> codes;
    ASSERT_TRUE(keyCodesOf(keys, codes)) << keys;
    keyboard = ALLEGRO_KEYBOARD_STATE{};
    for (int code : codes) setKeyDown(keyboard, code, true);
    refreshRootSwitches();
    world.update(dt);
  }
  void frames(int count, const std::string& keys = "") {
    for (int i = 0; i < count; ++i) frame(keys);
  }

  template <typename T>
  int count() {
    int found = 0;
    for (Entity* e : world.byTag(tagOf("entt"))) found += dynamic_cast<T*>(e) != nullptr;
    return found;
  }
  bool contains(Entity* entity) {
    for (Entity* e : world.byTag(tagOf("entt"))) {
      if (e == entity) return true;
    }
    return false;
  }

  PlayContext& context() { return context_; }

 private:
  PlayContext context_;  // outlives the world: its grid deletes the tiles

 public:
  World world;
};
