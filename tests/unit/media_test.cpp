// The media files as the game uses them: sheets cut by the game's own Sheet, images and the
// font through Allegro, sounds through the WAV loader, tunes through DUMB.

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <dumb.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/sheet.h"
#include "unit/test_support.h"

namespace {

class MediaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    initAllegroForTests();
    // Samples can be made without a sound device, but only once the audio part is installed.
    al_install_audio();
    dumb_register_stdfiles();
  }
};

unsigned char alphaAt(ALLEGRO_BITMAP* bitmap, int x, int y) {
  unsigned char r, g, b, a;
  al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
  return a;
}

// Bounding box of the pixels that are at least half opaque; empty (right < left) if none.
struct Extent {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, opaque = 0;
};

Extent visibleExtent(ALLEGRO_BITMAP* bitmap) {
  Extent extent;
  for (int y = 0; y < al_get_bitmap_height(bitmap); ++y)
    for (int x = 0; x < al_get_bitmap_width(bitmap); ++x)
      if (alphaAt(bitmap, x, y) >= 128) {
        extent.left = std::min(extent.left, x);
        extent.top = std::min(extent.top, y);
        extent.right = std::max(extent.right, x);
        extent.bottom = std::max(extent.bottom, y);
        ++extent.opaque;
      }
  return extent;
}

struct SheetRow {
  const char* path;
  int minWidth, maxWidth, minHeight, maxHeight;
  int framesDrawn;  // the game draws frames 0 .. framesDrawn - 1
  std::vector<int> blankFrames;
};

TEST_F(MediaTest, SheetsCutIntoTheFramesTheGameDraws) {
  const SheetRow rows[] = {
      {"media/guysheet.png", 20, 20, 20, 20, 17, {8}},
      {"media/badsheet.png", 20, 20, 20, 20, 4, {}},
      {"media/tilesheet.png", 20, 20, 20, 20, 11, {}},
      {"media/contsheet.png", 38, 44, 28, 30, 2, {}},  // covers the mouth x+2..x+37 from y-8 to y+20
      {"media/loosesheet.png", 20, 20, 20, 20, 3, {}},
      {"media/completesheet.png", 18, 18, 12, 16, 3, {}},
  };
  for (const SheetRow& row : rows) {
    SCOPED_TRACE(row.path);
    Sheet sheet(row.path);
    EXPECT_GE(sheet.frameWidth(), row.minWidth);
    EXPECT_LE(sheet.frameWidth(), row.maxWidth);
    EXPECT_GE(sheet.frameHeight(), row.minHeight);
    EXPECT_LE(sheet.frameHeight(), row.maxHeight);
    ASSERT_GE(sheet.frameCount(), row.framesDrawn);
    for (int frame = 0; frame < row.framesDrawn; ++frame) {
      bool blank = std::count(row.blankFrames.begin(), row.blankFrames.end(), frame) > 0;
      if (!blank) {
        EXPECT_GT(visibleExtent(sheet.frame(frame)).opaque, 8) << "frame " << frame << " is empty";
      }
    }
  }
}

std::vector<unsigned char> rgbaOf(ALLEGRO_BITMAP* bitmap) {
  std::vector<unsigned char> bytes;
  for (int y = 0; y < al_get_bitmap_height(bitmap); ++y)
    for (int x = 0; x < al_get_bitmap_width(bitmap); ++x) {
      unsigned char r, g, b, a;
      al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
      bytes.insert(bytes.end(), {r, g, b, a});
    }
  return bytes;
}

TEST_F(MediaTest, TileFramesFitTheRulesThatUseThem) {
  Sheet tiles("media/tilesheet.png");
  std::vector<std::vector<unsigned char>> walls;
  for (int wall = 0; wall < 5; ++wall) {
    SCOPED_TRACE("wall " + std::to_string(wall));
    Extent extent = visibleExtent(tiles.frame(wall));
    EXPECT_EQ(extent.opaque, 400) << "a wall fills its whole cell";
    walls.push_back(rgbaOf(tiles.frame(wall)));
    for (int other = 0; other < wall; ++other) EXPECT_NE(walls[wall], walls[other]) << "same as wall " << other;
  }
  Extent spikes = visibleExtent(tiles.frame(5));
  EXPECT_LE(spikes.top, 3) << "spike tips reach the top of the cell";
  EXPECT_GE(spikes.bottom, 18) << "spikes cover the killing line y + 18";
  Extent padUp = visibleExtent(tiles.frame(9)), padDown = visibleExtent(tiles.frame(10));
  EXPECT_GE(padDown.top, 14) << "a pressed pad lies in its box y + 14 .. y + 20";
  EXPECT_LT(padUp.top, padDown.top) << "the pad rises when released";
}

struct ImageRow {
  const char* path;
  int minWidth, maxWidth, minHeight, maxHeight;
};

TEST_F(MediaTest, ImagesAndFontLoad) {
  const ImageRow rows[] = {
      {"media/bag.png", 20, 20, 20, 20},  {"media/cloud.png", 80, 120, 40, 60},
      {"media/logo.png", 200, 780, 40, 240},  // drawn at y = 40, the menu starts at y = 280
      {"media/puff.png", 12, 20, 12, 20}, {"media/glow.png", 6, 10, 6, 10},
  };
  for (const ImageRow& row : rows) {
    SCOPED_TRACE(row.path);
    std::unique_ptr<ALLEGRO_BITMAP, void (*)(ALLEGRO_BITMAP*)> image(al_load_bitmap(row.path), al_destroy_bitmap);
    ASSERT_NE(image, nullptr);
    int width = al_get_bitmap_width(image.get()), height = al_get_bitmap_height(image.get());
    EXPECT_GE(width, row.minWidth);
    EXPECT_LE(width, row.maxWidth);
    EXPECT_GE(height, row.minHeight);
    EXPECT_LE(height, row.maxHeight);
    EXPECT_GT(visibleExtent(image.get()).opaque, 0);
  }
  std::unique_ptr<ALLEGRO_BITMAP, void (*)(ALLEGRO_BITMAP*)> bag(al_load_bitmap("media/bag.png"), al_destroy_bitmap);
  Extent extent = visibleExtent(bag.get());
  EXPECT_GE(extent.left, 2);
  EXPECT_GE(extent.top, 4);
  EXPECT_LE(extent.right, 16) << "the bag's box ends before x + 17";
  EXPECT_LE(extent.bottom, 19);

  ALLEGRO_FONT* font = al_load_font("media/font.ttf", 13, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_GT(al_get_text_width(font, "Play a level:"), 40);
  al_destroy_font(font);
}

TEST_F(MediaTest, SoundsLoadAndAreAudibleWithoutClicks) {
  for (const char* name : {"jump", "die", "land", "throw", "pickup", "cont", "switch"}) {
    std::string path = std::string("media/") + name + ".wav";
    SCOPED_TRACE(path);
    std::unique_ptr<ALLEGRO_SAMPLE, void (*)(ALLEGRO_SAMPLE*)> sample(al_load_sample(path.c_str()), al_destroy_sample);
    ASSERT_NE(sample, nullptr);
    ASSERT_EQ(al_get_sample_depth(sample.get()), ALLEGRO_AUDIO_DEPTH_INT16);
    ASSERT_EQ(al_get_sample_channels(sample.get()), ALLEGRO_CHANNEL_CONF_1);
    EXPECT_EQ(al_get_sample_frequency(sample.get()), 44100u);
    const auto* data = static_cast<const short*>(al_get_sample_data(sample.get()));
    unsigned length = al_get_sample_length(sample.get());
    ASSERT_GT(length, 0u);
    EXPECT_LT(length, 44100u) << "a sound effect is short";
    int peak = 0;
    for (unsigned i = 0; i < length; ++i) peak = std::max(peak, std::abs(static_cast<int>(data[i])));
    EXPECT_GT(peak, 3000) << "audible";
    EXPECT_LT(peak, 32000) << "headroom below clipping";
    EXPECT_LT(std::abs(data[0]), 300) << "starts near silence";
    EXPECT_LT(std::abs(data[length - 1]), 300) << "ends near silence";
  }
}

struct ModuleRow {
  const char* path;
  double seconds;  // playing time before the loop
  int minChannels;
};

int channelCount(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return 0;
  unsigned char header[70] = {};
  size_t got = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  return got == sizeof header ? header[68] | header[69] << 8 : 0;
}

// Renders the whole tune up to its loop, as the game does (stereo, 16-bit, 44100 Hz, linear
// resampling), second by second: every second must sound, and no sample may sit at the rail.
void expectAudibleUnclipped(DUH* duh, double seconds) {
  dumb_resampling_quality = 1;
  DUH_SIGRENDERER* renderer = dumb_it_start_at_order(duh, 2, 0);
  ASSERT_NE(renderer, nullptr);
  std::vector<short> block(2 * 44100);
  int clipped = 0, silentSeconds = 0;
  for (int second = 0; second < static_cast<int>(std::ceil(seconds)); ++second) {
    long rendered = duh_render(renderer, 16, 0, 1.0f, 65536.0f / 44100, 44100, block.data());
    ASSERT_EQ(rendered, 44100) << "second " << second;
    double energy = 0;
    for (short value : block) {
      energy += static_cast<double>(value) * value;
      if (value >= 32767 || value <= -32767) ++clipped;
    }
    if (std::sqrt(energy / block.size()) < 300) ++silentSeconds;
  }
  duh_end_sigrenderer(renderer);
  EXPECT_EQ(clipped, 0) << "samples at full scale";
  EXPECT_EQ(silentSeconds, 0) << "seconds of near silence";
}

TEST_F(MediaTest, ModulesLoadAndPlayTheirLengthAudiblyWithoutClipping) {
  const ModuleRow rows[] = {{"media/dreamland.xm", 60.0, 4}, {"media/unreal_superhero.xm", 45.0, 4}};
  for (const ModuleRow& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_GE(channelCount(row.path), row.minChannels);
    DUH* duh = dumb_load_xm(row.path);
    ASSERT_NE(duh, nullptr);
    double length = duh_get_length(duh) / 65536.0;
    EXPECT_GE(length, row.seconds) << "plays this long before looping";
    expectAudibleUnclipped(duh, std::max(length, row.seconds));
    unload_duh(duh);
  }
}

}  // namespace
