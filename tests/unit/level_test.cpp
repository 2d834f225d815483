#include "world/level.h"

#include <gtest/gtest.h>

#include <tuple>

#include "unit/test_support.h"
#include "world/channel_states.h"
#include "world/play_context.h"
#include "world/tile.h"
#include "world/world.h"

namespace {

class LevelGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    initAllegroForTests();
    setAllChannelsOn();
  }
  void TearDown() override { setAllChannelsOn(); }

  // A tile as the loader makes it: position from the record, no grid yet.
  Tile* addTile(int channel, double x, double y) {
    Tile* tile = new Tile(channel, nullptr, 0, 0);
    tile->setPosition(x, y);
    world.add(tile);
    return tile;
  }
  void build() {
    world.flush();
    level.build(world);
  }

  World world;
  Level level;
};

TEST_F(LevelGrid, SolidTileAtTruncatesTowardZero) {
  Tile* corner = addTile(0, 0, 0);
  Tile* last = addTile(0, 780, 580);
  Tile* off = addTile(3, 100, 200);
  build();
  const std::tuple<const char*, double, double, Tile*> rows[] = {
      {"(-5, 10) is cell (0, 0)", -5, 10, corner},  {"(-19.9, -19.9) is cell (0, 0)", -19.9, -19.9, corner},
      {"(-20, 10) is column -1", -20, 10, nullptr}, {"(19.99, 19.99) is cell (0, 0)", 19.99, 19.99, corner},
      {"(800, 10) is column 40", 800, 10, nullptr}, {"(799.9, 599.9) is cell (39, 29)", 799.9, 599.9, last},
      {"(10, 600) is row 30", 10, 600, nullptr},    {"(1e300, 10) is far outside", 1e300, 10, nullptr},
  };
  for (const auto& [label, x, y, expected] : rows) EXPECT_EQ(level.solidTileAt(x, y), expected) << label;
  for (auto cell : {std::make_pair(-1, 0), {0, -1}, {40, 0}, {0, 30}})
    EXPECT_EQ(level.cell(cell.first, cell.second), nullptr) << cell.first << ", " << cell.second;

  channelStates[3] = 0;
  EXPECT_EQ(level.cell(5, 10), off) << "a switched-off tile stays in its cell";
  EXPECT_EQ(level.solidTileAt(105, 205), nullptr) << "but is not solid";
}

// Stands in for loose garbage: only its "loos" tag matters to the grid.
class LooseStub : public Entity {
 public:
  const int* tags() const override {
    static const int list[] = {tagOf("entt"), tagOf("loos"), 0};
    return list;
  }
};

TEST_F(LevelGrid, BuildLinksTheLaterTileOfACellIgnoresOutsidersAndCountsLooseGarbage) {
  Tile* earlier = addTile(1, 60, 140);
  Tile* later = addTile(2, 60, 140);
  Tile* outside = addTile(0, 900, 40);
  Tile* above = addTile(0, 40, -40);
  world.add(new LooseStub());
  world.add(new LooseStub());
  build();
  EXPECT_EQ(level.cell(3, 7), later);
  EXPECT_EQ(later->level, &level);
  EXPECT_EQ(later->col * 100 + later->row, 307);
  EXPECT_EQ(earlier->level, nullptr) << "a replaced tile is not linked";
  EXPECT_EQ(outside->level, nullptr);
  EXPECT_EQ(above->level, nullptr);
  EXPECT_EQ(level.cell(39, 2), nullptr);
  EXPECT_EQ(world.byTag(tagOf("tile")).size(), 4u) << "all stay in the world and are drawn";
  EXPECT_EQ(level.looseCount, 2);
}

// Counts deletions, so that a tile deleted twice or never shows.
class CountedTile : public Tile {
 public:
  explicit CountedTile(int column) : Tile(0, nullptr, column, 1) {}
  ~CountedTile() override { ++deleted; }
  static int deleted;
};
int CountedTile::deleted = 0;

TEST(PlayContext, GridDeletesEveryTileItTookOnceAndTheCurrentPointerIsCleared) {
  initAllegroForTests();
  CountedTile::deleted = 0;
  auto* world = new World();
  world->add(new CountedTile(1));
  world->add(new CountedTile(1));
  world->add(new CountedTile(50));
  world->flush();
  auto* context = new PlayContext();
  context->grid->build(*world);
  setCurrentPlayContext(context);
  delete context;
  EXPECT_EQ(currentPlayContext(), nullptr);
  EXPECT_EQ(CountedTile::deleted, 3) << "duplicates and outsiders too";
  delete world;
  EXPECT_EQ(CountedTile::deleted, 3) << "the world leaves the grid's tiles alone";
}

}  // namespace
