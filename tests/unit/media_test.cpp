// The committed sprite sheets as the game's own Sheet cuts them: every frame the game draws is
// there and shows something, and no separator magenta is left inside a frame. (A byte-for-byte
// check against the generator is tests/data/media_up_to_date.sh.)

#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "app/sheet.h"
#include "unit/test_support.h"

namespace {

// How many pixels are at least half opaque, and how many are the separator's magenta.
struct Pixels {
  int solid = 0, magenta = 0;
};

Pixels countPixels(ALLEGRO_BITMAP* bitmap) {
  Pixels counts;
  for (int y = 0; y < al_get_bitmap_height(bitmap); ++y)
    for (int x = 0; x < al_get_bitmap_width(bitmap); ++x) {
      unsigned char r, g, b, a;
      al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
      counts.magenta += r == 255 && g == 0 && b == 255;
      counts.solid += a >= 128;
    }
  return counts;
}

// Frame size ranges, the frames the game draws (0 .. drawn - 1) and those meant to be blank.
TEST(Media, SheetsCutIntoTheFramesTheGameDraws) {
  initAllegroForTests();
  const std::tuple<const char*, int, int, int, int, int, std::vector<int>> rows[] = {
      {"media/guysheet.png", 20, 20, 20, 20, 17, {8}}, {"media/badsheet.png", 20, 20, 20, 20, 4, {}},
      {"media/tilesheet.png", 20, 20, 20, 20, 11, {}}, {"media/contsheet.png", 38, 44, 28, 30, 2, {}},
      {"media/loosesheet.png", 20, 20, 20, 20, 3, {}}, {"media/completesheet.png", 18, 18, 12, 16, 3, {}},
  };
  for (const auto& [path, minWidth, maxWidth, minHeight, maxHeight, drawn, blank] : rows) {
    SCOPED_TRACE(path);
    std::unique_ptr<Sheet> loaded;
    ASSERT_TRUE(Sheet::load(path, loaded).ok);
    const Sheet& sheet = *loaded;
    EXPECT_TRUE(sheet.frameWidth() >= minWidth && sheet.frameWidth() <= maxWidth) << sheet.frameWidth();
    EXPECT_TRUE(sheet.frameHeight() >= minHeight && sheet.frameHeight() <= maxHeight) << sheet.frameHeight();
    ASSERT_GE(sheet.frameCount(), drawn);
    for (int frame = 0; frame < sheet.frameCount(); ++frame) {
      Pixels pixels = countPixels(sheet.frame(frame));
      EXPECT_EQ(pixels.magenta, 0) << "frame " << frame;
      bool shown = frame < drawn && std::count(blank.begin(), blank.end(), frame) == 0;
      EXPECT_TRUE(!shown || pixels.solid > 8) << "frame " << frame << " is empty";
    }
  }
}

}  // namespace
