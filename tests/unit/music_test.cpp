// Depends on src/app/music.cpp alone: tests/data/music_tsan.sh builds it with ThreadSanitizer.
#include "app/music.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "unit/null_audio.h"
#include "unit/tiny_module.h"

namespace {

constexpr int kFragmentSamples = 4096 * 2;  // one stereo fragment

std::string tempPath(const char* name) { return ::testing::TempDir() + name; }

int peak(std::vector<std::int16_t>::const_iterator begin, std::vector<std::int16_t>::const_iterator end) {
  int highest = 0;
  for (auto s = begin; s != end; ++s) highest = std::max(highest, std::abs(static_cast<int>(*s)));
  return highest;
}
int peak(const std::vector<std::int16_t>& samples) { return peak(samples.begin(), samples.end()); }
// The renderer ramps a volume change over the start of a fragment to avoid a click.
int secondHalfPeak(const std::vector<std::int16_t>& samples) {
  return peak(samples.begin() + samples.size() / 2, samples.end());
}

// A player record without stream or thread, so that the test drives the feeder's rule itself.
struct BarePlayer {
  explicit BarePlayer(const TinyModule& shape, bool endAtLoop) {
    module = dumb_load_xm(writeTinyModule(tempPath("bare.xm"), shape).c_str());
    player.renderer = dumb_it_start_at_order(module, 2, 0);
    if (endAtLoop)
      dumb_it_set_loop_callback(duh_get_it_sigrenderer(player.renderer), dumb_it_callback_terminate, nullptr);
  }
  ~BarePlayer() {
    duh_end_sigrenderer(player.renderer);
    unload_duh(module);
  }
  DUH* module;
  MusicPlayer player;
};

class Music : public ::testing::Test {
 protected:
  void SetUp() override { initMusic(1); }
  void TearDown() override { stopMusic(); }
};

TEST_F(Music, NoModuleMeansNoPlayer) {
  std::string notModule = tempPath("not_a_module.txt");
  FILE* file = std::fopen(notModule.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("just some words\n", file);
  std::fclose(file);
  for (std::string path : {tempPath("missing.xm"), notModule}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(loadMusic(path.c_str(), 0), nullptr);
    EXPECT_EQ(currentMusicPlayer(), nullptr);
  }
  setMusicGain(nullptr, 0.25f);
  stopMusic();
  stopMusic();
  EXPECT_EQ(currentMusicPlayer(), nullptr);
}

TEST_F(Music, GainTakesEffectFromTheNextFragment) {
  BarePlayer bare(TinyModule{}, false);
  ASSERT_NE(bare.player.renderer, nullptr);
  std::vector<std::int16_t> buffer(kFragmentSamples);
  ASSERT_TRUE(renderFragment(bare.player, buffer.data()));
  int fullPeak = secondHalfPeak(buffer);
  ASSERT_GT(fullPeak, 1000) << "the tiny module's note must be audible";
  setMusicGain(&bare.player, 0.25f);
  ASSERT_TRUE(renderFragment(bare.player, buffer.data()));
  EXPECT_NEAR(secondHalfPeak(buffer), fullPeak * 0.25, fullPeak * 0.02);
  EXPECT_EQ(bare.player.failures, 0);
}

TEST_F(Music, SecondEmptyRenderEndsTheModule) {
  // One row of one tick at 255 BPM lasts 2.5 / 255 s, about 432 samples; then the module ends.
  TinyModule shortSong;
  shortSong.rows = 1;
  shortSong.speed = 1;
  shortSong.bpm = 255;
  BarePlayer bare(shortSong, true);
  ASSERT_NE(bare.player.renderer, nullptr);
  const std::int16_t stale = 0x1234;
  std::vector<std::int16_t> buffer(kFragmentSamples, stale);

  EXPECT_TRUE(renderFragment(bare.player, buffer.data())) << "a short render is padded, not a failure";
  EXPECT_EQ(bare.player.failures, 0);
  EXPECT_GT(peak(buffer.begin(), buffer.begin() + 800), 0);
  EXPECT_TRUE(std::all_of(buffer.begin() + 2000, buffer.end(), [](std::int16_t s) { return s == 0; }))
      << "the rest of the fragment is silence";

  std::fill(buffer.begin(), buffer.end(), stale);
  EXPECT_TRUE(renderFragment(bare.player, buffer.data())) << "the first empty render plays as silence";
  EXPECT_EQ(bare.player.failures, 1);
  EXPECT_EQ(peak(buffer), 0);

  EXPECT_FALSE(renderFragment(bare.player, buffer.data())) << "the second empty render ends playback";
  EXPECT_EQ(bare.player.failures, 2);
}

TEST_F(Music, FeederPlaysWhileTheGainChangesAndStopsOnRequest) {
  NullAudio audio;
  struct StopBeforeAudioGoes {
    ~StopBeforeAudioGoes() { stopMusic(); }
  } stopFirst;
  ASSERT_TRUE(audio.installed());
  std::string path = writeTinyModule(tempPath("feeder.xm"), TinyModule{});
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    MusicPlayer* player = loadMusic(path.c_str(), 0);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(currentMusicPlayer(), player);
    // The stream starts with four empty fragments; more played means the feeder kept filling.
    const std::uint64_t queuedAtStart = 4 * 4096;
    double deadline = al_get_time() + 3.0;
    for (int step = 0; al_get_audio_stream_played_samples(player->stream) <= queuedAtStart; ++step) {
      ASSERT_LT(al_get_time(), deadline) << "the feeder stopped filling the stream";
      setMusicGain(player, (step % 10) * 0.1f);
      al_rest(0.01);
    }
    if (round % 2 == 0) {
      // Loading over a playing module replaces it; the old player is stopped, not leaked.
      MusicPlayer* next = loadMusic(path.c_str(), 0);
      ASSERT_NE(next, nullptr);
      EXPECT_EQ(currentMusicPlayer(), next);
    }
    stopMusic();
    EXPECT_EQ(currentMusicPlayer(), nullptr);
  }
}

}  // namespace
