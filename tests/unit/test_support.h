#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

// Brings up the library and the add-ons the game code needs, without a display, keyboard,
// mouse or audio. Safe to call from every test: the library ignores repeated initialisation.
inline void initAllegroForTests() {
  ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
  ASSERT_TRUE(al_init_image_addon());
  ASSERT_TRUE(al_init_font_addon());
  ASSERT_TRUE(al_init_ttf_addon());
  ASSERT_TRUE(al_init_primitives_addon());
  ASSERT_TRUE(al_init_acodec_addon());
}

// Installs audio on ALSA's null device, as the headless runner does for the game, so that samples
// can be made. HOME points at a throw-away folder holding the device's ~/.asoundrc only while the
// driver is chosen. No voices are reserved: nothing plays in unit tests, and the library leaks
// its voice thread at exit. Audio then stays installed for the rest of the process.
inline bool installNullAudioForTests() {
  if (al_is_audio_installed()) return true;
  char folder[] = "/tmp/binhopper-audio-XXXXXX";
  if (!mkdtemp(folder)) return false;
  std::string rc = std::string(folder) + "/.asoundrc";
  std::ofstream(rc) << "pcm.!default { type null }\nctl.!default { type null }\n";
  const char* home = std::getenv("HOME");
  std::string savedHome = home ? home : "";
  setenv("HOME", folder, 1);
  bool installed = al_install_audio();
  if (home) {
    setenv("HOME", savedHome.c_str(), 1);
  } else {
    unsetenv("HOME");
  }
  std::remove(rc.c_str());
  rmdir(folder);
  return installed;
}

// `text` as a POSIX extended regular expression that matches it literally, for death tests.
inline std::string escapeRegex(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (std::string(".[]{}()\\*+?^$|").find(c) != std::string::npos) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// In a death test's child: sends standard output where the death test reads (standard error),
// so that the game's messages to standard output can be matched.
inline void sendStdoutToStderr() {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
}
