// Depends on src/app/music.cpp alone: tests/data/music_tsan.sh builds it with ThreadSanitizer.
#include "app/music.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "unit/null_audio.h"

namespace {

constexpr int kFragmentSamples = 4096 * 2;  // one stereo fragment
const char* const kTune = "media/dreamland.xm";

// A player record without stream or thread, so that the test drives the feeder's rule itself.
struct BarePlayer {
  explicit BarePlayer(bool endAtLoop) : module(dumb_load_xm(kTune)) {
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

// The last render of the tune is short and padded with silence, not a failure; the first
// empty render plays as silence, the second ends playback.
TEST_F(Music, SecondEmptyRenderEndsTheModule) {
  BarePlayer bare(true);
  ASSERT_NE(bare.player.renderer, nullptr);
  const std::int16_t stale = 0x1234;
  std::vector<std::int16_t> buffer(kFragmentSamples);
  int fragments = 0;
  bool playing = true;
  while (playing && bare.player.failures == 0 && fragments < 5000) {
    std::fill(buffer.begin(), buffer.end(), stale);
    playing = renderFragment(bare.player, buffer.data());
    ++fragments;
    ASSERT_FALSE(buffer.end()[-1] == stale && buffer.end()[-2] == stale) << "fragment " << fragments << " not padded";
  }
  EXPECT_GT(fragments, 60 * 44100 / 4096) << "the tune played to its end first";
  EXPECT_TRUE(playing) << "the first empty render plays as silence";
  EXPECT_EQ(bare.player.failures, 1);
  EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), kFragmentSamples);
  EXPECT_FALSE(renderFragment(bare.player, buffer.data())) << "the second empty render ends playback";
  EXPECT_EQ(bare.player.failures, 2);
}

TEST_F(Music, FeederPlaysWhileTheGainChangesAndStopsOnRequest) {
  NullAudio audio;
  struct StopBeforeAudioGoes {
    ~StopBeforeAudioGoes() { stopMusic(); }
  } stopFirst;
  ASSERT_TRUE(audio.installed());
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    MusicPlayer* player = loadMusic(kTune, 0);
    ASSERT_NE(player, nullptr);
    // The stream starts with four empty fragments; more played means the feeder kept filling.
    const std::uint64_t queuedAtStart = 4 * 4096;
    // Generous: the feeder is a thread like any other on a busy machine.
    double deadline = al_get_time() + 60.0;
    for (int step = 0; al_get_audio_stream_played_samples(player->stream) <= queuedAtStart; ++step) {
      ASSERT_LT(al_get_time(), deadline) << "the feeder stopped filling the stream";
      setMusicGain(player, (step % 10) * 0.1f);
      al_rest(0.01);
    }
    if (round % 2 == 0) {
      // Loading over a playing module replaces it; the old player is stopped, not leaked.
      MusicPlayer* next = loadMusic(kTune, 0);
      ASSERT_NE(next, nullptr);
      EXPECT_EQ(currentMusicPlayer(), next);
    }
    stopMusic();
    EXPECT_EQ(currentMusicPlayer(), nullptr);
  }
}

}  // namespace
