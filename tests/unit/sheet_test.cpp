#include "app/sheet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "unit/test_support.h"

namespace {

// The colour of the cell in column c, row r. Column 0, row 0 is (254, 0, 255): one step from
// magenta, so a separator test that is not exact would cut there.
ALLEGRO_COLOR cellColour(int column, int row) { return al_map_rgb(254 - 40 * column, 40 * row, 255); }

// Writes a sheet PNG: cells of frameWidth x frameHeight separated by one-pixel magenta lines of
// the given alpha. A frame size equal to the image size draws no separator in that direction.
std::string writeSheet(const TempDir& dir, const std::string& name, int width, int height, int frameWidth,
                       int frameHeight, int separatorAlpha = 255) {
  NewBitmapFlags memory(ALLEGRO_MEMORY_BITMAP | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  ALLEGRO_BITMAP* image = al_create_bitmap(width, height);
  ALLEGRO_BITMAP* previousTarget = al_get_target_bitmap();
  al_set_target_bitmap(image);
  al_lock_bitmap(image, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_WRITEONLY);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bool separator = x % (frameWidth + 1) == frameWidth || y % (frameHeight + 1) == frameHeight;
      al_put_pixel(x, y,
                   separator ? al_map_rgba(255, 0, 255, separatorAlpha)
                             : cellColour(x / (frameWidth + 1), y / (frameHeight + 1)));
    }
  }
  al_unlock_bitmap(image);
  al_set_target_bitmap(previousTarget);
  std::string path = dir.file(name);
  EXPECT_TRUE(al_save_bitmap(path.c_str(), image)) << path;
  al_destroy_bitmap(image);
  return path;
}

TEST(Sheet, CutsAtMagentaSeparatorsWithFramesDownColumns) {
  initAllegroForTests();
  TempDir dir;
  // frames: (column, row) of each frame in index order.
  const std::tuple<const char*, int, int, int, int, int, std::vector<std::pair<int, int>>> rows[] = {
      {"41 x 41, 20 x 20 frames", 41, 41, 20, 20, 255, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
      {"width 45: the partial column is ignored", 45, 41, 20, 20, 255, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
      {"2 columns of 3 rows", 21, 17, 10, 5, 255, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}},
      {"no line after the last column, no row lines", 62, 20, 20, 20, 255, {{0, 0}, {1, 0}, {2, 0}}},
      {"transparent separators still cut", 41, 41, 20, 20, 0, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
      {"no magenta: one frame of the whole image", 30, 17, 30, 17, 255, {{0, 0}}},
  };
  for (const auto& [label, width, height, frameWidth, frameHeight, separatorAlpha, frames] : rows) {
    SCOPED_TRACE(label);
    std::string path = writeSheet(dir, std::string(label).substr(0, 8) + ".png", width, height, frameWidth, frameHeight,
                                  separatorAlpha);
    NewBitmapFlags defaults(0);  // whatever the flags, the separators must read back unchanged
    Result<std::unique_ptr<Sheet>> loaded = Sheet::load(path);
    ASSERT_TRUE(loaded.ok());
    const Sheet& sheet = *loaded.value();
    EXPECT_EQ(sheet.frameWidth(), frameWidth);
    EXPECT_EQ(sheet.frameHeight(), frameHeight);
    ASSERT_EQ(sheet.frameCount(), static_cast<int>(frames.size()));
    for (int index = 0; index < sheet.frameCount(); ++index) {
      ALLEGRO_BITMAP* frame = sheet.frame(index);
      EXPECT_EQ(al_get_bitmap_x(frame), frames[index].first * (frameWidth + 1)) << "frame " << index;
      EXPECT_EQ(al_get_bitmap_y(frame), frames[index].second * (frameHeight + 1)) << "frame " << index;
      EXPECT_EQ(al_get_bitmap_width(frame), frameWidth);
      EXPECT_EQ(al_get_bitmap_height(frame), frameHeight);
    }
  }
}

}  // namespace
