#include "app/sound.h"

void playSound(ALLEGRO_SAMPLE* sample, float gain, float speed) {
  if (!sample || !al_is_audio_installed()) return;
  al_play_sample(sample, gain, 0.5f, speed, ALLEGRO_PLAYMODE_ONCE, nullptr);
}
