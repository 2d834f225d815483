#include "app/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "game/fatal.h"
#include "unit/null_audio.h"
#include "unit/test_support.h"

namespace {

TEST(ResourceCache, SoundThatDoesNotLoadWarnsOnceAndPlaysSilence) {
  initAllegroForTests();
  NullAudio audio;
  ASSERT_TRUE(audio.installed());
  TempDir dir;
  writeFileBytes(dir.file("switch.wav"), "this is not a sound");
  const std::pair<const char*, std::string> rows[] = {{"missing file", dir.file("cont.wav")},
                                                      {"not a WAV file", dir.file("switch.wav")}};
  for (const auto& [label, path] : rows) {
    SCOPED_TRACE(label);
    testing::internal::CaptureStdout();
    ALLEGRO_SAMPLE* first = sampleResource(path);
    ALLEGRO_SAMPLE* again = sampleResource(path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Unable to load sound (no SNDFILE support?): '" + path + "'.\nFalling back to no sound.\n")
        << "printed once per path";
    EXPECT_EQ(again, first);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(al_get_sample_length(first), 1u);
    EXPECT_EQ(al_get_sample_depth(first), ALLEGRO_AUDIO_DEPTH_UINT8);
    EXPECT_EQ(*static_cast<unsigned char*>(al_get_sample_data(first)), 128) << "unsigned 8-bit silence";
  }
}

// The cache cannot return a failure through its accessors: it yields null, keeps no entry, and
// hands the failure to the program's handler, which in the game prints the line and exits 1.
TEST(ResourceCacheDeathTest, MissingMediaYieldNullOrEndTheGameWithTheMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the child runs this body again: fixed paths
  initAllegroForTests();
  int entries = resourceCount();
  EXPECT_EQ(bitmapResource("media/no-such-image.png"), nullptr);
  EXPECT_EQ(resourceCount(), entries);
  setLoadFailureHandler(endWithLoadFailure);
  // The loader's line, then every folder searched and what would have found the data.
  const std::string hint = " \\(BINHOPPER_DATA names the folder that holds the game's media/ and levels/\\)\\.\n$";
  EXPECT_EXIT((sendStdoutToStderr(), sheetResource("media/no-such-sheet.png")), testing::ExitedWithCode(1),
              "^UNABLE TO LOAD BITMAP 'media/no-such-sheet\\.png'!\nThe game's data was looked for in the working "
              "directory " +
                  std::string(BINHOPPER_SOURCE_DIR) + " and beside the program in /.*; BINHOPPER_DATA is not set" +
                  hint);
  setenv("BINHOPPER_DATA", "/nowhere", 1);
  EXPECT_EXIT((sendStdoutToStderr(), fontResource("media/no-such-font.ttf")), testing::ExitedWithCode(1),
              "^Unable to find resource: 'media/no-such-font\\.ttf'\\.\nThe game's data was looked for in /nowhere, as "
              "BINHOPPER_DATA says, a folder that does not exist" +
                  hint);
  unsetenv("BINHOPPER_DATA");
  setLoadFailureHandler(nullptr);
}

// Runs in a child process of its own, where audio was never installed, as in the simulator.
TEST(ResourceCacheDeathTest, WithoutAudioSoundsAreNullAndNothingIsPrinted) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  initAllegroForTests();
  TempDir dir;
  const std::string jump = dir.file("jump.wav");
  std::filesystem::copy_file("media/jump.wav", jump);
  const std::string missing = dir.file("die.wav");
  EXPECT_EXIT((sendStdoutToStderr(), std::exit(sampleResource(jump) || sampleResource(missing) ? 2 : 0)),
              testing::ExitedWithCode(0), "^$");
}

}  // namespace
