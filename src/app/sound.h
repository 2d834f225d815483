#pragma once

#include <allegro5/allegro_audio.h>

// Plays a sample once, pan 0.5, with the given gain and speed. Does nothing when audio is not
// installed (tests, the headless simulator) or the sample is missing.
void playSound(ALLEGRO_SAMPLE* sample, float gain, float speed = 1.0f);

// Told of every request to play, also when nothing can be heard, so that tests can check which
// sounds a rule asks for. Null (the default) observes nothing.
using SoundObserver = void (*)(ALLEGRO_SAMPLE* sample, float gain, float speed);
void setSoundObserver(SoundObserver observer);

// While muted, requests to play are dropped before the observer hears them: a level that runs
// unseen beside the played one (a ghost) must not be heard.
void setSoundsMuted(bool muted);
