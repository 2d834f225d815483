#pragma once

#include <string>
#include <vector>

struct SoundEffect {
  std::string name;  // file name in the media folder
  std::vector<float> samples;
};

// Every sound effect of the game, finished: normalised below full scale, faded at both ends.
std::vector<SoundEffect> soundEffects();
