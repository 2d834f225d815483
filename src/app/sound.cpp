#include "app/sound.h"

namespace {
SoundObserver observer = nullptr;
bool soundsMuted = false;
}  // namespace

void playSound(ALLEGRO_SAMPLE* sample, float gain, float speed) {
  if (soundsMuted) return;
  if (observer) observer(sample, gain, speed);
  if (!sample || !al_is_audio_installed()) return;
  al_play_sample(sample, gain, 0.5f, speed, ALLEGRO_PLAYMODE_ONCE, nullptr);
}

void setSoundObserver(SoundObserver newObserver) { observer = newObserver; }

void setSoundsMuted(bool muted) { soundsMuted = muted; }
