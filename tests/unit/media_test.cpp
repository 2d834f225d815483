// The media files as the game uses them: sheets and images cut by the game's own Sheet, the
// font through Allegro, sounds through the WAV loader, tunes through DUMB.

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <dumb.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
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
    al_install_audio();  // samples can be made without a sound device, but not without audio
    dumb_register_stdfiles();
  }
};

// The box of the pixels at least half opaque, how many there are, and stray magenta pixels.
struct Extent {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, solid = 0, magenta = 0, partial = 0;
};

Extent extentOf(ALLEGRO_BITMAP* bitmap) {
  Extent e;
  for (int y = 0; y < al_get_bitmap_height(bitmap); ++y)
    for (int x = 0; x < al_get_bitmap_width(bitmap); ++x) {
      unsigned char r, g, b, a;
      al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
      e.magenta += r == 255 && g == 0 && b == 255;
      e.partial += a > 0 && a < 200;
      if (a < 128) continue;
      e.left = std::min(e.left, x), e.top = std::min(e.top, y);
      e.right = std::max(e.right, x), e.bottom = std::max(e.bottom, y);
      ++e.solid;
    }
  return e;
}

// Frame size ranges, the frames the game draws (0 .. drawn - 1) and those meant to be blank.
// Magenta inside a frame would show as a garish pixel.
TEST_F(MediaTest, SheetsCutIntoTheFramesTheGameDraws) {
  const struct {
    const char* path;
    int minWidth, maxWidth, minHeight, maxHeight, drawn;
    std::vector<int> blank;
  } rows[] = {
      {"media/guysheet.png", 20, 20, 20, 20, 17, {8}}, {"media/badsheet.png", 20, 20, 20, 20, 4, {}},
      {"media/tilesheet.png", 20, 20, 20, 20, 11, {}}, {"media/contsheet.png", 38, 44, 28, 30, 2, {}},
      {"media/loosesheet.png", 20, 20, 20, 20, 3, {}}, {"media/completesheet.png", 18, 18, 12, 16, 3, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    Sheet sheet(row.path);
    EXPECT_GE(sheet.frameWidth(), row.minWidth);
    EXPECT_LE(sheet.frameWidth(), row.maxWidth);
    EXPECT_GE(sheet.frameHeight(), row.minHeight);
    EXPECT_LE(sheet.frameHeight(), row.maxHeight);
    ASSERT_GE(sheet.frameCount(), row.drawn);
    for (int frame = 0; frame < sheet.frameCount(); ++frame) {
      Extent extent = extentOf(sheet.frame(frame));
      EXPECT_EQ(extent.magenta, 0) << "frame " << frame;
      bool drawn = frame < row.drawn && std::count(row.blank.begin(), row.blank.end(), frame) == 0;
      EXPECT_TRUE(!drawn || extent.solid > 8) << "frame " << frame << " is empty";
    }
  }
}

// Where the game's rules put a drawing's edges: feet on the floor of the box, a held object
// 20 px up (15 crouching), spike tips at the top and the killing line y + 18 covered, a pressed
// pad inside its box y + 14 .. y + 20, the bag inside (2, 4) - (17, 20), loose garbage centred.
TEST_F(MediaTest, DrawingsFitTheRulesThatUseThem) {
  using Rule = std::function<bool(const Extent&)>;
  const struct {
    const char* label;
    const char* path;
    std::vector<int> frames;
    Rule holds;
  } rows[] = {
      {"avatar on its floor",
       "media/guysheet.png",
       {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15},
       [](const Extent& e) { return e.bottom == 19; }},
      {"object held 20 px up",
       "media/guysheet.png",
       {9, 10, 11, 12, 13, 14, 16},
       [](const Extent& e) { return e.top <= 1; }},
      {"object held 15 px up crouching", "media/guysheet.png", {15}, [](const Extent& e) { return e.top <= 6; }},
      {"crouching is low", "media/guysheet.png", {6}, [](const Extent& e) { return e.top >= 3; }},
      {"baddies fill their box from y + 7",
       "media/badsheet.png",
       {0, 1, 2, 3},
       [](const Extent& e) { return e.bottom == 19 && e.top <= 7; }},
      {"walls fill the cell", "media/tilesheet.png", {0, 1, 2, 3, 4}, [](const Extent& e) { return e.solid == 400; }},
      {"spikes", "media/tilesheet.png", {5}, [](const Extent& e) { return e.top <= 3 && e.bottom >= 18; }},
      {"pad up", "media/tilesheet.png", {9}, [](const Extent& e) { return e.top < 14; }},
      {"pad down", "media/tilesheet.png", {10}, [](const Extent& e) { return e.top >= 14; }},
      {"bag",
       "media/bag.png",
       {0},
       [](const Extent& e) { return e.left >= 2 && e.top >= 4 && e.right <= 16 && e.bottom <= 19; }},
      {"loose garbage centred on (10, 10)",
       "media/loosesheet.png",
       {0, 1, 2},
       [](const Extent& e) {
         return std::abs(e.left + e.right + 1 - 20) <= 6 && std::abs(e.top + e.bottom + 1 - 20) <= 6;
       }},
  };
  for (const auto& row : rows) {
    Sheet sheet(row.path);
    for (int frame : row.frames) EXPECT_TRUE(row.holds(extentOf(sheet.frame(frame)))) << row.label << ", " << frame;
  }
}

TEST_F(MediaTest, ImagesAndFontLoad) {
  const struct {
    const char* path;
    int minWidth, maxWidth, minHeight, maxHeight;
    bool soft;  // smooth alpha edges and clear corners
  } rows[] = {
      {"media/bag.png", 20, 20, 20, 20, false},     {"media/cloud.png", 80, 120, 40, 60, true},
      {"media/logo.png", 200, 780, 40, 240, false},  // drawn at y = 40, the menu starts at y = 280
      {"media/puff.png", 12, 20, 12, 20, true},     {"media/glow.png", 6, 10, 6, 10, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    std::unique_ptr<ALLEGRO_BITMAP, void (*)(ALLEGRO_BITMAP*)> image(al_load_bitmap(row.path), al_destroy_bitmap);
    ASSERT_NE(image, nullptr);
    int width = al_get_bitmap_width(image.get()), height = al_get_bitmap_height(image.get());
    EXPECT_TRUE(width >= row.minWidth && width <= row.maxWidth) << width;
    EXPECT_TRUE(height >= row.minHeight && height <= row.maxHeight) << height;
    Extent extent = extentOf(image.get());
    EXPECT_GT(extent.solid, 0);
    if (!row.soft) continue;
    EXPECT_GT(extent.partial, width) << "soft edges";
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

// Renders whole seconds of the tune as the game does (stereo, 16-bit, 44100 Hz, linear
// resampling), with only the channels in `solo` sounding (all if empty).
Loudness render(DUH* duh, double seconds, std::vector<int> solo = {}) {
  dumb_resampling_quality = 1;
  Loudness loudness;
  DUH_SIGRENDERER* renderer = dumb_it_start_at_order(duh, 2, 0);
  if (!renderer) return loudness;
  for (int channel = 0; channel < 64 && !solo.empty(); ++channel)
    dumb_it_sr_set_channel_muted(duh_get_it_sigrenderer(renderer), channel,
                                 std::count(solo.begin(), solo.end(), channel) == 0);
  std::vector<short> block(2 * 44100);
  double energy = 0;
  int wholeSeconds = static_cast<int>(std::ceil(seconds));
  for (int second = 0; second < wholeSeconds; ++second) {
    long rendered = duh_render(renderer, 16, 0, 1.0f, 65536.0f / 44100, 44100, block.data());
    double blockEnergy = 0;
    for (long i = 0; i < 2 * rendered; ++i) {
      blockEnergy += static_cast<double>(block[i]) * block[i];
      loudness.clipped += block[i] >= 32767 || block[i] <= -32767;
    }
    if (rendered < 44100 || std::sqrt(blockEnergy / block.size()) < 300) ++loudness.quietSeconds;
    energy += blockEnergy;
  }
  loudness.rms = std::sqrt(energy / (static_cast<double>(block.size()) * wholeSeconds));
  duh_end_sigrenderer(renderer);
  return loudness;
}

TEST_F(MediaTest, ModulesPlayTheirLengthAudiblyWithoutClipping) {
  const struct {
    const char* path;
    double seconds;  // playing time before the loop
  } rows[] = {{"media/dreamland.xm", 60.0}, {"media/unreal_superhero.xm", 45.0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    unsigned char header[70] = {};
    std::FILE* file = std::fopen(row.path, "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fread(header, 1, sizeof header, file), sizeof header);
    std::fclose(file);
    int channels = header[68] | header[69] << 8;
    EXPECT_GE(channels, 4);
    std::unique_ptr<DUH, void (*)(DUH*)> duh(dumb_load_xm(row.path), unload_duh);
    ASSERT_NE(duh, nullptr);
    double length = duh_get_length(duh.get()) / 65536.0;
    EXPECT_GE(length, row.seconds) << "plays this long before looping";
    Loudness whole = render(duh.get(), std::max(length, row.seconds));
    EXPECT_EQ(whole.clipped, 0) << "samples at full scale";
    EXPECT_EQ(whole.quietSeconds, 0) << "seconds of near silence";
    EXPECT_GT(whole.rms, 2500) << "loud enough for the game's music gain of 0.25";
    constexpr double kOpening = 32.0;  // s: every channel has joined in by the end of the first verse
    for (int channel = 0; channel < channels; ++channel)
      EXPECT_GT(render(duh.get(), kOpening, {channel}).rms, 100) << "channel " << channel << " is silent";
  }
}

}  // namespace
