#include "synth.h"

#include <algorithm>
#include <cmath>

#include "wav_writer.h"

double Noise::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_ / 2147483647.5 - 1.0;
}

LowPass::LowPass(double cutoff) : factor_(1.0 - std::exp(-2.0 * kPi * cutoff / kSampleRate)) {}

double LowPass::operator()(double input) {
  state_ += factor_ * (input - state_);
  return state_;
}

std::vector<float> renderVoice(double seconds, const std::function<double(double)>& voice) {
  int count = static_cast<int>(std::lround(seconds * kSampleRate));
  std::vector<float> samples(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) samples[i] = static_cast<float>(voice(static_cast<double>(i) / kSampleRate));
  return samples;
}

double Phase::advance(double frequency) {
  double current = cycles_;
  cycles_ += frequency / kSampleRate;
  cycles_ -= std::floor(cycles_);
  return current;
}

double sine(double cycles) { return std::sin(2.0 * kPi * cycles); }

double triangle(double cycles) {
  double f = cycles - std::floor(cycles);
  return f < 0.5 ? 4.0 * f - 1.0 : 3.0 - 4.0 * f;
}

double square(double cycles, double duty) { return cycles - std::floor(cycles) < duty ? 1.0 : -1.0; }

double saw(double cycles) { return 2.0 * (cycles - std::floor(cycles)) - 1.0; }

void fadeEdges(std::vector<float>& samples, double fadeInSeconds, double fadeOutSeconds) {
  size_t fadeIn = std::min(samples.size(), static_cast<size_t>(fadeInSeconds * kSampleRate));
  size_t fadeOut = std::min(samples.size(), static_cast<size_t>(fadeOutSeconds * kSampleRate));
  for (size_t i = 0; i < fadeIn; ++i) samples[i] *= static_cast<float>(i) / fadeIn;
  for (size_t i = 0; i < fadeOut; ++i) samples[samples.size() - 1 - i] *= static_cast<float>(i) / fadeOut;
}

void normalise(std::vector<float>& samples, double peak) {
  float largest = 0.0f;
  for (float sample : samples) largest = std::max(largest, std::fabs(sample));
  if (largest <= 0.0f) return;
  for (float& sample : samples) sample = static_cast<float>(sample * peak / largest);
}

void mixInto(std::vector<float>& target, const std::vector<float>& source, double gain, int offset) {
  if (target.size() < source.size() + offset) target.resize(source.size() + offset, 0.0f);
  for (size_t i = 0; i < source.size(); ++i) target[i + offset] += static_cast<float>(source[i] * gain);
}
