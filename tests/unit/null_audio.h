#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <string>

// Installs the library's audio on ALSA's null device (through a private HOME with its own
// .asoundrc), so that audio streams get real fragment events on a machine without a sound card.
// While it lives, the library's audio is installed; it is uninstalled again at the end, which
// also ends the library's own voice thread.
class NullAudio {
 public:
  NullAudio() : installed_(install()) {}
  ~NullAudio() {
    if (al_is_audio_installed()) al_uninstall_audio();
  }
  NullAudio(const NullAudio&) = delete;
  NullAudio& operator=(const NullAudio&) = delete;
  bool installed() const { return installed_; }

 private:
  static bool install() {
    std::string home = ::testing::TempDir() + "binhopper-null-audio";
    mkdir(home.c_str(), 0700);
    FILE* config = std::fopen((home + "/.asoundrc").c_str(), "w");
    if (!config) return false;
    std::fputs("pcm.!default { type null }\nctl.!default { type null }\n", config);
    std::fclose(config);
    // The sound library reads its configuration once and reloads it only when the list of
    // configuration files changes: naming the file in that list makes the null device count
    // even when an earlier test of the process already opened audio without it. It stays set.
    setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + home + "/.asoundrc").c_str(), 1);
    // The audio library's OpenAL driver would otherwise try a PulseAudio server first, whose
    // client threads ThreadSanitizer reports; the null device is reached through ALSA anyway.
    setenv("ALSOFT_DRIVERS", "alsa", 1);
    const char* oldHome = std::getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    bool ok = al_install_system(ALLEGRO_VERSION_INT, std::atexit) && al_install_audio() && al_reserve_samples(16);
    if (oldHome) setenv("HOME", savedHome.c_str(), 1);
    return ok;
  }

  bool installed_;
};
