#include "app/sound.h"

namespace {
SoundObserver observer = nullptr;
float effectsVolume = 1.0f;
bool soundsMuted = false;
}  // namespace

void playSound(ALLEGRO_SAMPLE* sample, float gain, float speed) {
  if (soundsMuted) return;
  gain *= effectsVolume;
  if (observer) observer(sample, gain, speed);
  if (!sample || !al_is_audio_installed() || gain <= 0.0f) return;
  al_play_sample(sample, gain, 0.5f, speed, ALLEGRO_PLAYMODE_ONCE, nullptr);
}

void setSoundObserver(SoundObserver newObserver) { observer = newObserver; }

void setEffectsVolume(float volume) { effectsVolume = volume; }
void setSoundsMuted(bool muted) { soundsMuted = muted; }
