#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "synth.h"
#include "wav_writer.h"

namespace {

constexpr double kLoudPeak = 0.89;  // -1 dB: headroom below clipping
constexpr double kSoftPeak = 0.4;   // footsteps and clicks repeat often, so they stay quiet

std::vector<float> finish(std::vector<float> samples, double peak, double fadeOut) {
  normalise(samples, peak);
  fadeEdges(samples, 0.002, fadeOut);
  return samples;
}

// A quick upward chirp of a soft pulse wave.
std::vector<float> jump() {
  constexpr double kLength = 0.18;  // s
  Phase phase;
  auto voice = [&](double t) {
    double frequency = 280.0 + 900.0 * t / kLength * (1.2 - t / kLength);
    // A 30 % pulse averages -0.4; adding that back keeps the sound centred on zero.
    return 0.6 * (square(phase.advance(frequency), 0.3) + 0.4) * std::exp(-t * 9.0);
  };
  return finish(renderVoice(kLength, voice), kLoudPeak, 0.03);
}

// A falling, wobbling tone with a little grit.
std::vector<float> die() {
  constexpr double kLength = 0.7;  // s
  Phase phase, sub;
  Noise noise(7);
  auto voice = [&](double t) {
    double frequency = 620.0 * std::exp(-t * 3.2) * (1.0 + 0.06 * std::sin(2 * kPi * 14 * t));
    double tone = 0.5 * saw(phase.advance(frequency)) + 0.3 * triangle(sub.advance(frequency * 0.5));
    return (tone + 0.12 * noise.next()) * std::min(1.0, 8.0 * (kLength - t));
  };
  return finish(renderVoice(kLength, voice), kLoudPeak, 0.05);
}

// A short soft thump.
std::vector<float> land() {
  Phase phase;
  Noise noise(11);
  LowPass muffle(900.0);
  auto voice = [&](double t) {
    double body = sine(phase.advance(150.0 * std::exp(-t * 18.0))) * std::exp(-t * 45.0);
    double scuff = muffle(noise.next()) * std::exp(-t * 70.0);
    return body + 1.5 * scuff;
  };
  return finish(renderVoice(0.08, voice), kSoftPeak, 0.02);
}

// A whoosh: band-limited noise swelling and falling away.
std::vector<float> throwSound() {
  constexpr double kLength = 0.28;  // s
  Noise noise(23);
  LowPass low(2500.0), lower(400.0);
  auto voice = [&](double t) {
    double hiss = noise.next();
    double band = low(hiss) - lower(hiss);
    return band * std::sin(kPi * std::pow(t / kLength, 0.6));
  };
  return finish(renderVoice(kLength, voice), kLoudPeak * 0.8, 0.03);
}

// Two bright bell notes, a fifth apart.
std::vector<float> pickup() {
  auto bell = [](double frequency) {
    Phase fundamental, octave;
    return renderVoice(0.3, [&](double t) {
      double partials = sine(fundamental.advance(frequency)) + 0.3 * sine(octave.advance(frequency * 2.0));
      return partials * std::exp(-t * 12.0);
    });
  };
  std::vector<float> samples = bell(1318.5);
  mixInto(samples, bell(1975.5), 1.0, static_cast<int>(0.07 * kSampleRate));
  return finish(samples, kLoudPeak, 0.03);
}

// A bag dropping into a hollow metal bin: a dull thump and a ringing rattle.
std::vector<float> binDrop() {
  Noise noise(31);
  LowPass muffle(600.0);
  Phase thump, ring1, ring2, ring3;
  auto voice = [&](double t) {
    double body = sine(thump.advance(95.0 * std::exp(-t * 6.0))) * std::exp(-t * 20.0);
    double thud = muffle(noise.next()) * std::exp(-t * 30.0);
    double metal = sine(ring1.advance(523.0)) + 0.7 * sine(ring2.advance(1187.0)) + 0.4 * sine(ring3.advance(1931.0));
    return body + 2.0 * thud + 0.25 * metal * std::exp(-t * 9.0);
  };
  return finish(renderVoice(0.45, voice), kLoudPeak, 0.05);
}

// Click and clack of a mechanism.
std::vector<float> switchSound() {
  constexpr double kStart = 0.004;  // s: after the fade-in, so the first click keeps its edge
  constexpr double kClack = 0.06;   // s from the click to the clack
  Noise noise(43);
  Phase tick;
  auto voice = [&](double t) {
    if (t < kStart) return 0.0;
    t -= kStart;
    double click = t < kClack ? std::exp(-t * 250.0) : 0.7 * std::exp(-(t - kClack) * 250.0);
    return (0.6 * noise.next() + square(tick.advance(t < kClack ? 1800.0 : 1200.0))) * click;
  };
  return finish(renderVoice(0.12, voice), kLoudPeak * 0.8, 0.02);
}

}  // namespace

std::vector<SoundEffect> soundEffects() {
  return {{"jump.wav", jump()},     {"die.wav", die()},      {"land.wav", land()},         {"throw.wav", throwSound()},
          {"pickup.wav", pickup()}, {"cont.wav", binDrop()}, {"switch.wav", switchSound()}};
}
