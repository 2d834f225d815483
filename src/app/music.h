#pragma once

#include <allegro5/allegro_audio.h>
#include <dumb.h>

#include <atomic>

// A tracker module rendered by a feeder thread into an audio stream. One module plays at a
// time. The feeder owns stream, renderer and failures while it runs; stopMusic joins it before
// touching them. The volume and the player's music volume (setMusicVolume) are all that both
// threads touch during play.
struct MusicPlayer {
  int active = 1;
  int fragmentLength = 4096;  // samples per channel in one stream fragment
  int frequency = 44100;      // Hz
  ALLEGRO_AUDIO_STREAM* stream = nullptr;
  DUH_SIGRENDERER* renderer = nullptr;  // null once the module has ended by itself
  std::atomic<float> volume{1.0f};
  int failures = 0;  // renders that gave no samples; never reset
  ALLEGRO_THREAD* thread = nullptr;
};

bool initMusic(int quality);
// Loads the module (XM, IT, MOD, S3M loaders in that order) and plays it from startOrder.
// A module still playing is stopped first, so that no player is left running unowned.
// Null when no loader accepts the file or the stream, renderer or thread cannot be made.
MusicPlayer* loadMusic(const char* path, int startOrder);
// Takes effect from the next rendered fragment; a null player is ignored.
void setMusicGain(MusicPlayer* player, float gain);
// The player's music volume, 0 (silent) to 1, over every module's own gain; takes effect from
// the next rendered fragment.
void setMusicVolume(float volume);
void stopMusic();

// The player loadMusic made last and stopMusic has not released yet; null when none.
MusicPlayer* currentMusicPlayer();

// The feeder's rule for one fragment: renders fragmentLength stereo 16-bit samples into buffer
// at the volume times the music volume and pads a short render with silence. A render of no
// samples counts a failure; returns false at the second, when the module has ended and playback
// must stop.
bool renderFragment(MusicPlayer& player, void* buffer);
