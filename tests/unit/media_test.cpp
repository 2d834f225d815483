// The media files as the game uses them: sheets cut by the game's own Sheet, images and the
// font through Allegro, sounds through the WAV loader, tunes through DUMB. Run from the
// repository root.

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

using BitmapPtr = std::unique_ptr<ALLEGRO_BITMAP, void (*)(ALLEGRO_BITMAP*)>;
using SamplePtr = std::unique_ptr<ALLEGRO_SAMPLE, void (*)(ALLEGRO_SAMPLE*)>;

BitmapPtr loadBitmap(const char* path) { return BitmapPtr(al_load_bitmap(path), al_destroy_bitmap); }

// A copy of a bitmap's pixels as straight-alpha bytes, for looking at the drawings.
struct Pixels {
  struct Rgba {
    unsigned char r, g, b, a;
  };
  int width = 0, height = 0;
  std::vector<Rgba> data;

  explicit Pixels(ALLEGRO_BITMAP* bitmap) : width(al_get_bitmap_width(bitmap)), height(al_get_bitmap_height(bitmap)) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        Rgba pixel;
        al_unmap_rgba(al_get_pixel(bitmap, x, y), &pixel.r, &pixel.g, &pixel.b, &pixel.a);
        data.push_back(pixel);
      }
  }
  const Rgba& at(int x, int y) const { return data[y * width + x]; }
  bool solid(int x, int y) const { return at(x, y).a >= 128; }
  bool operator==(const Pixels& other) const {
    return width == other.width && height == other.height &&
           std::equal(data.begin(), data.end(), other.data.begin(), [](const Rgba& a, const Rgba& b) {
             return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
           });
  }
};

// Bounding box of the pixels that are at least half opaque; empty (right < left) if none.
struct Extent {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, solid = 0;
};

Extent extentOf(const Pixels& pixels) {
  Extent extent;
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      if (pixels.solid(x, y)) {
        extent.left = std::min(extent.left, x);
        extent.top = std::min(extent.top, y);
        extent.right = std::max(extent.right, x);
        extent.bottom = std::max(extent.bottom, y);
        ++extent.solid;
      }
  return extent;
}

Extent extentOf(ALLEGRO_BITMAP* bitmap) { return extentOf(Pixels(bitmap)); }

struct SheetRow {
  const char* path;
  int minWidth, maxWidth, minHeight, maxHeight;
  int framesDrawn;  // the game draws frames 0 .. framesDrawn - 1
  std::vector<int> blankFrames;
};

const SheetRow kSheets[] = {
    {"media/guysheet.png", 20, 20, 20, 20, 17, {8}},
    {"media/badsheet.png", 20, 20, 20, 20, 4, {}},
    {"media/tilesheet.png", 20, 20, 20, 20, 11, {}},
    {"media/contsheet.png", 38, 44, 28, 30, 2, {}},  // covers the mouth x+2..x+37 from y-8 to y+20
    {"media/loosesheet.png", 20, 20, 20, 20, 3, {}},
    {"media/completesheet.png", 18, 18, 12, 16, 3, {}},
};

TEST_F(MediaTest, SheetsCutIntoTheFramesTheGameDraws) {
  for (const SheetRow& row : kSheets) {
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
        EXPECT_GT(extentOf(sheet.frame(frame)).solid, 8) << "frame " << frame << " is empty";
      }
    }
  }
}

// Magenta inside a frame would show as a garish pixel, and in a sheet's top row or left
// column it would cut the sheet into the wrong frame size.
TEST_F(MediaTest, MagentaOnlyOnTheSeparatorLines) {
  for (const SheetRow& row : kSheets) {
    SCOPED_TRACE(row.path);
    Sheet sheet(row.path);
    int strays = 0;
    for (int frame = 0; frame < sheet.frameCount(); ++frame) {
      Pixels pixels(sheet.frame(frame));
      for (const Pixels::Rgba& pixel : pixels.data) strays += pixel.r == 255 && pixel.g == 0 && pixel.b == 255;
    }
    EXPECT_EQ(strays, 0);
  }
}

TEST_F(MediaTest, AvatarPosesFitTheWayTheGameDrawsThem) {
  Sheet guy("media/guysheet.png");
  std::vector<Pixels> frames;
  for (int frame = 0; frame < 17; ++frame) frames.emplace_back(guy.frame(frame));
  for (int frame : {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15}) {
    EXPECT_EQ(extentOf(frames[frame]).bottom, 19) << "frame " << frame << " stands on the floor of its box";
  }
  for (int frame : {9, 10, 11, 12, 13, 14, 16}) {
    EXPECT_LE(extentOf(frames[frame]).top, 1) << "frame " << frame << " reaches the object held 20 px up";
  }
  EXPECT_LE(extentOf(frames[15]).top, 6) << "crouching, the object is held 15 px up";
  EXPECT_GE(extentOf(frames[6]).top, extentOf(frames[2]).top + 3) << "crouching is lower than standing";
  for (int frame = 0; frame < 6; ++frame) {
    EXPECT_FALSE(frames[frame] == frames[(frame + 1) % 6]) << "walk frames " << frame << " and the next";
  }
  for (int frame = 0; frame < 8; ++frame) {
    EXPECT_FALSE(frames[frame] == frames[frame + 9]) << "pose " << frame << " holding nothing and holding";
  }
  // The game mirrors the frames for walking right, so they must face left: the nose sticks
  // out further on the left of the head than the hair does on the right.
  int left = 20, right = -1;
  for (int y = 3; y < 12; ++y)
    for (int x = 0; x < 20; ++x)
      if (frames[2].solid(x, y)) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  EXPECT_GT(10 - left, right - 9) << "the standing pose faces left";
}

int mirrorMismatches(const Pixels& pixels, int rows) {
  int mismatches = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < pixels.width / 2; ++x)
      mismatches += pixels.solid(x, y) != pixels.solid(pixels.width - 1 - x, y);
  return mismatches;
}

struct MeanColour {
  double r = 0, g = 0, b = 0;
};

MeanColour meanColour(const Pixels& pixels) {
  MeanColour mean;
  int count = 0;
  for (const Pixels::Rgba& pixel : pixels.data)
    if (pixel.a >= 128) {
      mean.r += pixel.r;
      mean.g += pixel.g;
      mean.b += pixel.b;
      ++count;
    }
  if (count) mean = {mean.r / count, mean.g / count, mean.b / count};
  return mean;
}

TEST_F(MediaTest, BaddiesFaceFrontAndTameAndFeralLookApart) {
  Sheet baddies("media/badsheet.png");
  std::vector<Pixels> frames;
  for (int frame = 0; frame < 4; ++frame) frames.emplace_back(baddies.frame(frame));
  for (int frame = 0; frame < 4; ++frame) {
    SCOPED_TRACE("frame " + std::to_string(frame));
    EXPECT_LE(mirrorMismatches(frames[frame], 18), 4) << "never mirrored, so the body is symmetric";
    Extent extent = extentOf(frames[frame]);
    EXPECT_EQ(extent.bottom, 19) << "walks on the floor of its box";
    EXPECT_LE(extent.top, 7) << "fills its box from y + 7";
  }
  EXPECT_FALSE(frames[0] == frames[1]) << "tame walk animates";
  EXPECT_FALSE(frames[2] == frames[3]) << "feral walk animates";
  int shapeDifference = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) shapeDifference += frames[0].solid(x, y) != frames[2].solid(x, y);
  EXPECT_GE(shapeDifference, 20) << "tame and feral differ in outline";
  MeanColour tame = meanColour(frames[0]), feral = meanColour(frames[2]);
  double colourDistance = std::hypot(tame.r - feral.r, tame.g - feral.g, tame.b - feral.b);
  EXPECT_GE(colourDistance, 60) << "tame and feral differ in colour";
}

TEST_F(MediaTest, TileFramesFitTheRulesThatUseThem) {
  Sheet tiles("media/tilesheet.png");
  std::vector<Pixels> walls;
  for (int wall = 0; wall < 5; ++wall) {
    SCOPED_TRACE("wall " + std::to_string(wall));
    walls.emplace_back(tiles.frame(wall));
    EXPECT_EQ(extentOf(walls.back()).solid, 400) << "a wall fills its whole cell";
    for (int other = 0; other < wall; ++other) EXPECT_FALSE(walls[wall] == walls[other]) << "same as wall " << other;
  }
  Extent spikes = extentOf(tiles.frame(5));
  EXPECT_LE(spikes.top, 3) << "spike tips reach the top of the cell";
  EXPECT_GE(spikes.bottom, 18) << "spikes cover the killing line y + 18";
  EXPECT_FALSE(Pixels(tiles.frame(7)) == Pixels(tiles.frame(8))) << "lever off and on";
  Extent padUp = extentOf(tiles.frame(9)), padDown = extentOf(tiles.frame(10));
  EXPECT_GE(padDown.top, 14) << "a pressed pad lies in its box y + 14 .. y + 20";
  EXPECT_LT(padUp.top, padDown.top) << "the pad rises when released";
}

double luminance(const MeanColour& colour) { return 0.3 * colour.r + 0.59 * colour.g + 0.11 * colour.b; }

MeanColour meanColourIn(const Pixels& pixels, int left, int top, int right, int bottom) {
  MeanColour mean;
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      mean.r += pixels.at(x, y).r;
      mean.g += pixels.at(x, y).g;
      mean.b += pixels.at(x, y).b;
      ++count;
    }
  return {mean.r / count, mean.g / count, mean.b / count};
}

TEST_F(MediaTest, GoalPicturesShowWhatTheGameTellsWithThem) {
  Sheet bins("media/contsheet.png");
  Pixels waiting(bins.frame(0)), full(bins.frame(1));
  // The yellow count is drawn centred at frame (20, 12), 13 pixels high: it needs a dark ground.
  EXPECT_LT(luminance(meanColourIn(waiting, 15, 13, 26, 24)), 90) << "the count stands on a dark plate";
  EXPECT_GT(extentOf(waiting).top, extentOf(full).top + 2) << "the full bin is heaped above its rim";

  Sheet marks("media/completesheet.png");
  MeanColour golden = meanColour(Pixels(marks.frame(1))), silver = meanColour(Pixels(marks.frame(2)));
  EXPECT_GT(golden.r + golden.g - 2 * golden.b, 150) << "frame 1 is the golden crown";
  EXPECT_LT(std::fabs(silver.r - silver.b), 40) << "frame 2 is the silver crown";
  EXPECT_FALSE(Pixels(marks.frame(0)) == Pixels(marks.frame(1))) << "completed mark and crown";

  Sheet loose("media/loosesheet.png");
  for (int frame = 0; frame < 3; ++frame) {
    Extent extent = extentOf(loose.frame(frame));
    EXPECT_NEAR((extent.left + extent.right + 1) / 2.0, 10.0, 3.0) << "piece " << frame << " centred on x + 10";
    EXPECT_NEAR((extent.top + extent.bottom + 1) / 2.0, 10.0, 3.0) << "piece " << frame << " centred on y + 10";
  }
}

struct ImageRow {
  const char* path;
  int minWidth, maxWidth, minHeight, maxHeight;
  bool soft;  // drawn with smooth alpha edges and clear corners
};

TEST_F(MediaTest, ImagesAndFontLoad) {
  const ImageRow rows[] = {
      {"media/bag.png", 20, 20, 20, 20, false},
      {"media/cloud.png", 80, 120, 40, 60, true},
      {"media/logo.png", 200, 780, 40, 240, false},  // drawn at y = 40, the menu starts at y = 280
      {"media/puff.png", 12, 20, 12, 20, true},
      {"media/glow.png", 6, 10, 6, 10, true},
  };
  for (const ImageRow& row : rows) {
    SCOPED_TRACE(row.path);
    BitmapPtr image = loadBitmap(row.path);
    ASSERT_NE(image, nullptr);
    Pixels pixels(image.get());
    EXPECT_GE(pixels.width, row.minWidth);
    EXPECT_LE(pixels.width, row.maxWidth);
    EXPECT_GE(pixels.height, row.minHeight);
    EXPECT_LE(pixels.height, row.maxHeight);
    EXPECT_GT(extentOf(pixels).solid, 0);
    if (!row.soft) continue;
    auto isPartial = [](const Pixels::Rgba& p) { return p.a > 0 && p.a < 200; };
    int partial = std::count_if(pixels.data.begin(), pixels.data.end(), isPartial);
    EXPECT_GT(partial, pixels.width) << "soft edges";
    EXPECT_EQ(pixels.at(0, 0).a + pixels.at(pixels.width - 1, pixels.height - 1).a, 0) << "no square corners";
  }
  Extent bag = extentOf(loadBitmap("media/bag.png").get());
  EXPECT_GE(bag.left, 2);
  EXPECT_GE(bag.top, 4);
  EXPECT_LE(bag.right, 16) << "the bag's box ends before x + 17";
  EXPECT_LE(bag.bottom, 19);

  ALLEGRO_FONT* font = al_load_font("media/font.ttf", 13, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_GT(al_get_text_width(font, "Play a level:"), 40);
  al_destroy_font(font);
}

struct SoundStats {
  unsigned length = 0;
  int peak = 0;
  double mean = 0;
  std::vector<short> samples;
};

SoundStats soundStats(const std::string& path) {
  SoundStats stats;
  SamplePtr sample(al_load_sample(path.c_str()), al_destroy_sample);
  EXPECT_NE(sample, nullptr) << path;
  if (!sample) return stats;
  EXPECT_EQ(al_get_sample_depth(sample.get()), ALLEGRO_AUDIO_DEPTH_INT16) << path;
  EXPECT_EQ(al_get_sample_channels(sample.get()), ALLEGRO_CHANNEL_CONF_1) << path;
  EXPECT_EQ(al_get_sample_frequency(sample.get()), 44100u) << path;
  const auto* data = static_cast<const short*>(al_get_sample_data(sample.get()));
  stats.length = al_get_sample_length(sample.get());
  stats.samples.assign(data, data + stats.length);
  for (short value : stats.samples) {
    stats.peak = std::max(stats.peak, std::abs(static_cast<int>(value)));
    stats.mean += value;
  }
  if (stats.length) stats.mean /= stats.length;
  return stats;
}

TEST_F(MediaTest, SoundsLoadAndAreAudibleWithoutClicks) {
  const char* names[] = {"jump", "die", "land", "throw", "pickup", "cont", "switch"};
  std::vector<SoundStats> sounds;
  for (const char* name : names) {
    std::string path = std::string("media/") + name + ".wav";
    SCOPED_TRACE(path);
    sounds.push_back(soundStats(path));
    const SoundStats& sound = sounds.back();
    ASSERT_GT(sound.length, 0u);
    EXPECT_LT(sound.length, 44100u) << "a sound effect is short";
    EXPECT_GT(sound.peak, 3000) << "audible";
    EXPECT_LT(sound.peak, 32000) << "headroom below clipping";
    EXPECT_LT(std::fabs(sound.mean), 330) << "no offset from zero, which would thump";
    EXPECT_LT(std::abs(sound.samples.front()), 300) << "starts near silence";
    EXPECT_LT(std::abs(sound.samples.back()), 300) << "ends near silence";
    for (size_t other = 0; other + 1 < sounds.size(); ++other) EXPECT_NE(sound.samples, sounds[other].samples);
  }
  // land.wav is also every footstep and button click, so it must be the shortest and softest.
  for (size_t i = 0; i < sounds.size(); ++i) {
    if (i == 2) continue;
    EXPECT_LT(sounds[2].length, sounds[i].length) << names[i];
    EXPECT_LT(sounds[2].peak, sounds[i].peak) << names[i];
  }
}

int channelCount(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return 0;
  unsigned char header[70] = {};
  size_t got = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  return got == sizeof header ? header[68] | header[69] << 8 : 0;
}

struct Loudness {
  int clipped = 0, quietSeconds = 0;
  double rms = 0;
};

// Renders `seconds` of the tune as the game does (stereo, 16-bit, 44100 Hz, linear
// resampling), second by second, with only the channels in `solo` sounding (all if empty).
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

struct ModuleRow {
  const char* path;
  double seconds;  // playing time before the loop
  int minChannels;
};

TEST_F(MediaTest, ModulesPlayTheirLengthAudiblyWithoutClipping) {
  const ModuleRow rows[] = {{"media/dreamland.xm", 60.0, 4}, {"media/unreal_superhero.xm", 45.0, 4}};
  for (const ModuleRow& row : rows) {
    SCOPED_TRACE(row.path);
    int channels = channelCount(row.path);
    EXPECT_GE(channels, row.minChannels);
    std::unique_ptr<DUH, void (*)(DUH*)> duh(dumb_load_xm(row.path), unload_duh);
    ASSERT_NE(duh, nullptr);
    double length = duh_get_length(duh.get()) / 65536.0;
    EXPECT_GE(length, row.seconds) << "plays this long before looping";
    Loudness whole = render(duh.get(), std::max(length, row.seconds));
    EXPECT_EQ(whole.clipped, 0) << "samples at full scale";
    EXPECT_EQ(whole.quietSeconds, 0) << "seconds of near silence";
    EXPECT_GT(whole.rms, 2500) << "loud enough for the game's music gain of 0.25";
    // Every channel has joined in by the end of the first verse.
    constexpr double kOpening = 32.0;  // s
    for (int channel = 0; channel < channels; ++channel) {
      EXPECT_GT(render(duh.get(), kOpening, {channel}).rms, 100) << "channel " << channel << " is silent";
    }
  }
}

}  // namespace
