// The media files as the game uses them: sheets and images cut by the game's own Sheet, the
// font through Allegro, sounds through the WAV loader, tunes through DUMB.

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <dumb.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/sheet.h"
#include "unit/test_support.h"

namespace {

class MediaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    initAllegroForTests();
    al_install_audio();  // samples can be made without a sound device, but not without audio
    dumb_register_stdfiles();
  }
};

// How many pixels are at least half opaque, partly transparent, or stray magenta.
struct Pixels {
  int solid = 0, partial = 0, magenta = 0;
};

Pixels countPixels(ALLEGRO_BITMAP* bitmap) {
  Pixels counts;
  for (int y = 0; y < al_get_bitmap_height(bitmap); ++y)
    for (int x = 0; x < al_get_bitmap_width(bitmap); ++x) {
      unsigned char r, g, b, a;
      al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
      counts.magenta += r == 255 && g == 0 && b == 255;
      counts.partial += a > 0 && a < 200;
      counts.solid += a >= 128;
    }
  return counts;
}

// Frame size ranges, the frames the game draws (0 .. drawn - 1) and those meant to be blank.
// Magenta inside a frame would show as a garish pixel.
TEST_F(MediaTest, SheetsCutIntoTheFramesTheGameDraws) {
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

TEST_F(MediaTest, ImagesAndFontLoad) {
  // Size ranges, and whether the image has smooth alpha edges and clear corners.
  const std::tuple<const char*, int, int, int, int, bool> rows[] = {
      {"media/bag.png", 20, 20, 20, 20, false},     {"media/cloud.png", 80, 120, 40, 60, true},
      {"media/logo.png", 200, 780, 40, 240, false},  // drawn at y = 40, the menu starts at y = 280
      {"media/puff.png", 12, 20, 12, 20, true},     {"media/glow.png", 6, 10, 6, 10, true},
  };
  for (const auto& [path, minWidth, maxWidth, minHeight, maxHeight, soft] : rows) {
    SCOPED_TRACE(path);
    std::unique_ptr<ALLEGRO_BITMAP, void (*)(ALLEGRO_BITMAP*)> image(al_load_bitmap(path), al_destroy_bitmap);
    ASSERT_NE(image, nullptr);
    int width = al_get_bitmap_width(image.get()), height = al_get_bitmap_height(image.get());
    EXPECT_TRUE(width >= minWidth && width <= maxWidth) << width;
    EXPECT_TRUE(height >= minHeight && height <= maxHeight) << height;
    Pixels pixels = countPixels(image.get());
    EXPECT_GT(pixels.solid, 0);
    if (!soft) continue;
    EXPECT_GT(pixels.partial, width) << "soft edges";
    EXPECT_EQ(al_get_pixel(image.get(), 0, 0).a + al_get_pixel(image.get(), width - 1, height - 1).a, 0.0f);
  }
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
    EXPECT_EQ(al_get_sample_depth(sample.get()), ALLEGRO_AUDIO_DEPTH_INT16);
    EXPECT_EQ(al_get_sample_channels(sample.get()), ALLEGRO_CHANNEL_CONF_1);
    EXPECT_EQ(al_get_sample_frequency(sample.get()), 44100u);
    const auto* data = static_cast<const short*>(al_get_sample_data(sample.get()));
    std::vector<short> samples(data, data + al_get_sample_length(sample.get()));
    ASSERT_FALSE(samples.empty());
    EXPECT_LT(samples.size(), 44100u) << "a sound effect is short";
    int peak = 0;
    double mean = 0;
    for (short value : samples) peak = std::max(peak, std::abs(static_cast<int>(value))), mean += value;
    EXPECT_GT(peak, 3000) << "audible";
    EXPECT_LT(peak, 32000) << "headroom below clipping";
    EXPECT_LT(std::fabs(mean / samples.size()), 330) << "an offset from zero would thump";
    EXPECT_LT(std::abs(samples.front()) + std::abs(samples.back()), 600) << "starts and ends near silence";
  }
}

struct Loudness {
  int clipped = 0, quietSeconds = 0;
  double rms = 0;
};

// Renders whole seconds of the tune as the game does: stereo, 16-bit, 44100 Hz, linear resampling.
Loudness render(DUH* duh, double seconds) {
  dumb_resampling_quality = 1;
  Loudness loudness;
  DUH_SIGRENDERER* renderer = dumb_it_start_at_order(duh, 2, 0);
  std::vector<short> block(2 * 44100);
  int wholeSeconds = static_cast<int>(std::ceil(seconds));
  for (int second = 0; second < wholeSeconds; ++second) {
    long rendered = duh_render(renderer, 16, 0, 1.0f, 65536.0f / 44100, 44100, block.data());
    double energy = 0;
    for (long i = 0; i < 2 * rendered; ++i) {
      energy += static_cast<double>(block[i]) * block[i];
      loudness.clipped += block[i] >= 32767 || block[i] <= -32767;
    }
    if (rendered < 44100 || std::sqrt(energy / block.size()) < 300) ++loudness.quietSeconds;
    loudness.rms += energy;
  }
  loudness.rms = std::sqrt(loudness.rms / (static_cast<double>(block.size()) * wholeSeconds));
  duh_end_sigrenderer(renderer);
  return loudness;
}

TEST_F(MediaTest, ModulesPlayTheirLengthAudiblyWithoutClipping) {
  // Each tune and its playing time before the loop.
  const std::pair<const char*, double> rows[] = {{"media/dreamland.xm", 60.0}, {"media/unreal_superhero.xm", 45.0}};
  for (const auto& [path, seconds] : rows) {
    SCOPED_TRACE(path);
    std::string header = readFileBytes(path);
    ASSERT_GE(header.size(), 70u);
    EXPECT_GE(uint8_t(header[68]) | uint8_t(header[69]) << 8, 4) << "channels: lead, bass, chords and drums";
    std::unique_ptr<DUH, void (*)(DUH*)> duh(dumb_load_xm(path), unload_duh);
    ASSERT_NE(duh, nullptr);
    double length = duh_get_length(duh.get()) / 65536.0;
    EXPECT_GE(length, seconds) << "plays this long before looping";
    Loudness whole = render(duh.get(), std::max(length, seconds));
    EXPECT_EQ(whole.clipped, 0) << "samples at full scale";
    EXPECT_EQ(whole.quietSeconds, 0) << "seconds of near silence";
    EXPECT_GT(whole.rms, 2500) << "loud enough for the game's music gain of 0.25";
  }
}

}  // namespace
