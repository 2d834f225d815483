#pragma once

#include <allegro5/allegro_audio.h>

// Plays a sample once, pan 0.5, with the given gain and speed. Does nothing when audio is not
// installed (tests, the headless simulator) or the sample is missing.
void playSound(ALLEGRO_SAMPLE* sample, float gain, float speed = 1.0f);
