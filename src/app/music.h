#pragma once

#include <allegro5/allegro_audio.h>
#include <dumb.h>

#include <atomic>

// A tracker module rendered by a feeder thread into an audio stream. One module plays at a
// time; loading does not stop the one playing (callers stop it first).
struct MusicPlayer;

bool initMusic(int quality);
// Null when no loader accepts the file or the stream, renderer or thread cannot be made.
MusicPlayer* loadMusic(const char* path, int startOrder);
void setMusicGain(MusicPlayer* player, float gain);
void stopMusic();
