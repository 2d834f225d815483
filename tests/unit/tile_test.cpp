#include "world/tile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/blend.h"
#include "unit/game_directory.h"
#include "world/channel_states.h"
#include "world/draw_layer.h"
#include "world/level.h"
#include "world/world.h"

namespace {

// A translucent block two cells wide entered between the tiles of two rows: it stays over the
// tiles drawn before it and under those drawn after it.
class Patch : public Entity {
 public:
  Patch(double x, double y) { setPosition(x, y); }
  const int* tags() const override {
    static const int list[] = {tagOf("entt"), tagOf("rndr"), 0};
    return list;
  }
  int order(int) const override { return DrawLayer::Tiles; }
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

// Every byte of the picture as drawn by `draw` on a sky-blue memory canvas.
std::string picture(const std::function<void()>& draw) {
  NewBitmapFlags memory(ALLEGRO_MEMORY_BITMAP);
  ALLEGRO_BITMAP* canvas = al_create_bitmap(200, 120);
  ALLEGRO_BITMAP* previous = al_get_target_bitmap();
  al_set_target_bitmap(canvas);
  al_clear_to_color(al_map_rgb(90, 140, 220));
  resetBlender();
  draw();
  flushDrawing();
  ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(canvas, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
  std::string bytes;
  for (int row = 0; row < 120; ++row)
    bytes.append(static_cast<const char*>(region->data) + row * region->pitch, 200 * 4);
  al_unlock_bitmap(canvas);
  al_set_target_bitmap(previous);
  al_destroy_bitmap(canvas);
  return bytes;
}

// Drawn as runs, pass by pass with joined borders, the walls look exactly as when every entity
// draws itself in list order.
TEST(Tile, RunsDrawTheSamePixelsAsTileAfterTileInFewerCalls) {
  GameDirectory directory;
  std::memset(channelStates, 1, sizeof channelStates);
  channelStates[0] = 0;
  Level level;
  World world;
  for (int row = 0; row < static_cast<int>(std::size(kWalls)); ++row) {
    for (int col = 0; kWalls[row][col] != '\0'; ++col) {
      char cell = kWalls[row][col];
      if (cell >= '0' && cell <= '9') world.add(new Tile(cell - '0', nullptr, col, row));
      if (cell == '>') world.add(new Patch(50, 50));
    }
  }
  world.flush();
  level.build(world);

  resetDrawCallCount();
  std::string oneByOne = picture([&] {
    for (Entity* e : world.byTag(tagOf("rndr"))) e->draw();
  });
  long oneByOneCalls = drawCallCount();
  resetDrawCallCount();
  std::string inRuns = picture([&] { world.draw(); });

  EXPECT_TRUE(oneByOne == inRuns) << "the pictures differ";
  EXPECT_LT(drawCallCount(), oneByOneCalls / 2) << "the tiles were not drawn as runs";
  std::memset(channelStates, 1, sizeof channelStates);
}

}  // namespace
