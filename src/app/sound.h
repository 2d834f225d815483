#pragma once

#include <allegro5/allegro_audio.h>

// Plays a sample once, pan 0.5, with the given gain scaled by the effects volume, and the given
// speed. Does nothing when audio is not installed (tests, the headless simulator), the sample is
// missing or the effects are silenced.
void playSound(ALLEGRO_SAMPLE* sample, float gain, float speed = 1.0f);

// The player's effects volume, 0 (silent) to 1 (every sound at its own gain).
void setEffectsVolume(float volume);

// Told of every request to play with the gain it is played at, also when nothing can be heard,
// so that tests can check which sounds a rule asks for. Null (the default) observes nothing.
using SoundObserver = void (*)(ALLEGRO_SAMPLE* sample, float gain, float speed);
void setSoundObserver(SoundObserver observer);

// While muted, requests to play are dropped before the observer hears them: a level that runs
// unseen beside the played one (a ghost) must not be heard.
void setSoundsMuted(bool muted);
