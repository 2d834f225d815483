#include "app/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "unit/null_audio.h"
#include "unit/test_support.h"

namespace {

void appendLittleEndian(std::string& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xff);
}

// A mono 16-bit PCM WAV file of `frames` silent frames at 8000 Hz.
std::string wavBytes(int frames) {
  const uint32_t dataSize = static_cast<uint32_t>(frames) * 2;
  std::string bytes = "RIFF";
  appendLittleEndian(bytes, 36 + dataSize, 4);
  bytes += "WAVEfmt ";
  appendLittleEndian(bytes, 16, 4);        // format chunk size
  appendLittleEndian(bytes, 1, 2);         // PCM
  appendLittleEndian(bytes, 1, 2);         // channels
  appendLittleEndian(bytes, 8000, 4);      // frames per second
  appendLittleEndian(bytes, 8000 * 2, 4);  // bytes per second
  appendLittleEndian(bytes, 2, 2);         // bytes per frame
  appendLittleEndian(bytes, 16, 2);        // bits per sample
  bytes += "data";
  appendLittleEndian(bytes, dataSize, 4);
  bytes += std::string(dataSize, '\0');
  return bytes;
}

std::string writeTo(const TempDir& dir, const std::string& name, const std::string& bytes) {
  writeFileBytes(dir.file(name), bytes);
  return dir.file(name);
}

std::string writePng(const TempDir& dir, const std::string& name) {
  NewBitmapFlags memory(ALLEGRO_MEMORY_BITMAP);
  ALLEGRO_BITMAP* image = al_create_bitmap(3, 2);
  std::string path = dir.file(name);
  EXPECT_TRUE(al_save_bitmap(path.c_str(), image));
  al_destroy_bitmap(image);
  return path;
}

const char* const kFallbackMessage = "Unable to load sound (no SNDFILE support?): '%s'.\nFalling back to no sound.\n";

std::string fallbackMessage(const std::string& path) {
  char line[512];
  std::snprintf(line, sizeof line, kFallbackMessage, path.c_str());
  return line;
}

TEST(ResourceCache, EachPathIsLoadedOnceAndShared) {
  initAllegroForTests();
  // Samples exist only while audio is installed; the paths are this test's own, so no later
  // request meets the samples that uninstalling audio destroys.
  NullAudio audio;
  ASSERT_TRUE(audio.installed());
  TempDir dir;
  const std::string land = writeTo(dir, "land.wav", wavBytes(10));
  const std::string bag = writePng(dir, "bag.png");
  const int entriesBefore = resourceCount();

  ALLEGRO_SAMPLE* users[4] = {};
  getResource(users[0], land);
  ASSERT_NE(users[0], nullptr);
  EXPECT_EQ(al_get_sample_length(users[0]), 10u) << "the file's own sample, not the fallback";
  ALLEGRO_BITMAP* firstBag = bitmapResource(bag);

  // With the files gone, only the cache can answer without a fallback message or an exit.
  std::remove(land.c_str());
  std::remove(bag.c_str());
  testing::internal::CaptureStdout();
  for (int i = 1; i < 4; ++i) getResource(users[i], land);
  ALLEGRO_BITMAP* secondBag = bitmapResource(bag);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  for (int i = 1; i < 4; ++i) EXPECT_EQ(users[i], users[0]) << "user " << i;
  EXPECT_EQ(secondBag, firstBag);
  EXPECT_EQ(resourceCount(), entriesBefore + 2);
}

TEST(ResourceCache, SoundThatDoesNotLoadWarnsOnceAndPlaysSilence) {
  initAllegroForTests();
  NullAudio audio;
  ASSERT_TRUE(audio.installed());
  TempDir dir;
  struct Row {
    const char* label;
    std::string path;
  };
  const Row rows[] = {
      {"missing file", dir.file("cont.wav")},
      {"not a WAV file", writeTo(dir, "switch.wav", "this is not a sound")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    testing::internal::CaptureStdout();
    ALLEGRO_SAMPLE* first = sampleResource(row.path);
    ALLEGRO_SAMPLE* again = sampleResource(row.path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), fallbackMessage(row.path)) << "printed once per path";
    EXPECT_EQ(again, first);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(al_get_sample_length(first), 1u);
    EXPECT_EQ(al_get_sample_frequency(first), 44100u);
    EXPECT_EQ(al_get_sample_depth(first), ALLEGRO_AUDIO_DEPTH_UINT8);
    EXPECT_EQ(al_get_sample_channels(first), ALLEGRO_CHANNEL_CONF_1);
    EXPECT_EQ(*static_cast<unsigned char*>(al_get_sample_data(first)), 128) << "unsigned 8-bit silence";
  }
}

// The paths are fixed because a threadsafe death test runs the test body again in a child.
TEST(ResourceCacheDeathTest, MissingImageOrFontEndsTheProcessWithTheMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  initAllegroForTests();
  const std::string image = "media/no-such-image.png";
  const std::string font = "media/no-such-font.ttf";
  EXPECT_EXIT(
      {
        sendStdoutToStderr();
        bitmapResource(image);
      },
      testing::ExitedWithCode(1), "^Unable to find resource: '" + escapeRegex(image) + "'\\.\n$");
  EXPECT_EXIT(
      {
        sendStdoutToStderr();
        fontResource(font);
      },
      testing::ExitedWithCode(1), "^Unable to find resource: '" + escapeRegex(font) + "'\\.\n$");
}

// Runs in a child process of its own, where audio was never installed, as in the simulator.
TEST(ResourceCacheDeathTest, WithoutAudioSoundsAreNullAndNothingIsPrinted) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  initAllegroForTests();
  TempDir dir;
  const std::string jump = writeTo(dir, "jump.wav", wavBytes(10));
  const std::string missing = dir.file("die.wav");
  EXPECT_EXIT(
      {
        sendStdoutToStderr();
        bool bothNull = !sampleResource(jump) && !sampleResource(missing);
        std::exit(bothNull ? 0 : 2);
      },
      testing::ExitedWithCode(0), "^$");
}

}  // namespace
