#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "app/blend.h"
#include "entities/garbage.h"
#include "unit/game_directory.h"
#include "world/draw_layer.h"
#include "world/play_context.h"
#include "world/tile.h"
#include "world/world.h"

namespace {

// A translucent block two cells wide entered between the tiles of two rows: it stays over the
// tiles drawn before it and under those drawn after it.
class Patch : public Entity {
 public:
  Patch(double x, double y) : Entity({tagOf("entt"), tagOf("rndr")}, DrawLayer::Tiles) { setPosition(x, y); }
  void draw() override {
    auto left = static_cast<float>(x());
    auto top = static_cast<float>(y());
    drawFilledRectangle(left, top, left + 40, top + 20, al_map_rgba_f(0.5f, 0, 0, 0.5f));
  }
};

// Walls of three channels that are on and one that is off (0), with channels meeting side by
// side and corner to corner; the patch goes in after the row marked '>'.
const char* const kWalls[] = {
    "1111111111",   //
    "1..22.33.1",   //
    "1..22.33.1>",  //
    "1..1100..1",   //
    "1.00...0.1",   //
    "1111111111",
};

// Every byte of the picture drawn by `draw` on a sky-blue memory canvas, and the draw calls.
struct Picture {
  std::string bytes;
  long drawCalls;
};
Picture picture(const std::function<void()>& draw) {
  Canvas canvas(200, 120, al_map_rgb(90, 140, 220));
  resetDrawCallCount();
  draw();
  flushDrawing();
  return {canvas.bytes(), drawCallCount()};
}

// The world drawn by World::draw against every entity drawing itself in list order.
void expectSamePixelsInFewerCalls(World& world, long mostCalls) {
  Picture oneByOne = picture([&] {
    for (Entity* e : world.byTag(tagOf("rndr"))) e->draw();
  });
  Picture inRuns = picture([&] { world.draw(); });
  EXPECT_TRUE(oneByOne.bytes == inRuns.bytes) << "the pictures differ";
  EXPECT_LE(inRuns.drawCalls, mostCalls) << "drawn one by one: " << oneByOne.drawCalls << " calls";
}

// Drawn as runs, pass by pass with joined borders, the walls look exactly as when every entity
// draws itself in list order.
TEST(DrawRuns, TilesGiveThePixelsOfTileAfterTile) {
  GameDirectory directory;
  PlayContext level;
  level.channelStates[0] = 0;
  World world;
  world.context = &level;
  for (int row = 0; row < static_cast<int>(std::size(kWalls)); ++row) {
    for (int col = 0; kWalls[row][col] != '\0'; ++col) {
      char cell = kWalls[row][col];
      if (cell >= '0' && cell <= '9') world.add<Tile>(cell - '0', nullptr, col, row);
      if (cell == '>') world.add<Patch>(50, 50);
    }
  }
  world.flush();
  level.grid->build(world);

  // Six runs of tiles around the patch (by texture and by colour of border), the patch itself.
  expectSamePixelsInFewerCalls(world, 16);
}

// Glowing garbage drawn as a run, sprites first and then all rings in one call: exact while no
// ring reaches a later sprite; with one that does, the run is drawn one by one.
TEST(DrawRuns, GarbageGivesThePixelsOfOneAfterAnother) {
  GameDirectory directory;
  // Label; the second garbage's x (px; the first stands at 20); the most draw calls.
  const std::tuple<const char*, double, long> cases[] = {{"apart", 80, 2}, {"overlapping", 30, 5}};
  for (const auto& [label, secondX, mostCalls] : cases) {
    World world;
    for (double x : {20.0, secondX, 140.0}) {
      Garbage& garbage = world.add<Garbage>();
      garbage.setPosition(x, 40 + x / 10);
      garbage.phase = 0.3 + x / 1000;  // rings of different size and fading
    }
    world.flush();
    SCOPED_TRACE(label);
    expectSamePixelsInFewerCalls(world, mostCalls);
  }
}

}  // namespace
