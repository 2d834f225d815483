#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Building blocks for the sound effects and the instrument samples. Everything is computed
// from time alone or from our own fixed-seed noise, so every run gives the same samples.

constexpr double kPi = 3.14159265358979323846;

// Xorshift noise with a fixed seed per use.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1) {}
  double next();  // uniform in -1..1

 private:
  std::uint32_t state_;
};

// One-pole low-pass filter; cutoff in Hz.
class LowPass {
 public:
  explicit LowPass(double cutoff);
  double operator()(double input);

 private:
  double factor_;
  double state_ = 0.0;
};

// Samples of `seconds` of sound at kSampleRate; the voice is asked for each time t in seconds.
std::vector<float> renderVoice(double seconds, const std::function<double(double)>& voice);

// Phase accumulator for a pitch that changes over time; returns the phase in cycles.
class Phase {
 public:
  double advance(double frequency);

 private:
  double cycles_ = 0.0;
};

double sine(double cycles);
double triangle(double cycles);
double square(double cycles, double duty = 0.5);
double saw(double cycles);

// Linear fades at both ends against clicks.
void fadeEdges(std::vector<float>& samples, double fadeInSeconds, double fadeOutSeconds);
// Scales so the largest magnitude is `peak`.
void normalise(std::vector<float>& samples, double peak);
void mixInto(std::vector<float>& target, const std::vector<float>& source, double gain, int offset = 0);
