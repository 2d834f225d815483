#include "sounds.h"

#include <cmath>

#include "synth.h"

namespace {

constexpr double kLoudPeak = 0.89;  // -1 dB: headroom below clipping
constexpr double kSoftPeak = 0.4;   // footsteps and clicks repeat often, so they stay quiet

std::vector<float> finish(std::vector<float> samples, double peak, double fadeOut) {
  normalise(samples, peak);
  fadeEdges(samples, 0.002, fadeOut);
  return samples;
}

// A quick upward chirp of a soft square wave.
std::vector<float> jump() {
  Phase phase;
  return finish(renderVoice(0.18, [&](double t) {
                  double frequency = 280.0 + 900.0 * t / 0.18 * (1.2 - t / 0.18);
                  // The pulse minus its average keeps the sound centred on zero.
                  return 0.6 * (square(phase.advance(frequency), 0.3) + 0.4) * std::exp(-t * 9.0);
                }),
                kLoudPeak, 0.03);
}

// A falling, wobbling tone with a little grit.
std::vector<float> die() {
  Phase phase, sub;
  Noise noise(7);
  return finish(renderVoice(0.7, [&](double t) {
                  double frequency = 620.0 * std::exp(-t * 3.2) * (1.0 + 0.06 * std::sin(2 * kPi * 14 * t));
                  double tone = 0.5 * saw(phase.advance(frequency)) + 0.3 * triangle(sub.advance(frequency * 0.5));
                  return (tone + 0.12 * noise.next()) * std::min(1.0, 8.0 * (0.7 - t));
                }),
                kLoudPeak, 0.05);
}

// A short soft thump.
std::vector<float> land() {
  Phase phase;
  Noise noise(11);
  LowPass muffle(900.0);
  return finish(renderVoice(0.08, [&](double t) {
                  double body = sine(phase.advance(150.0 * std::exp(-t * 18.0))) * std::exp(-t * 45.0);
                  double scuff = muffle(noise.next()) * std::exp(-t * 70.0);
                  return body + 1.5 * scuff;
                }),
                kSoftPeak, 0.02);
}

// A whoosh: filtered noise swelling and falling away.
std::vector<float> throwSound() {
  Noise noise(23);
  LowPass low(2500.0), lower(400.0);
  return finish(renderVoice(0.28, [&](double t) {
                  double hiss = noise.next();
                  double band = low(hiss) - lower(hiss);
                  double swell = std::sin(kPi * std::pow(t / 0.28, 0.6));
                  return band * swell;
                }),
                kLoudPeak * 0.8, 0.03);
}

// Two bright bell notes, a fifth apart.
std::vector<float> pickup() {
  auto bell = [](double frequency) {
    Phase a, b;
    return renderVoice(0.3, [=](double t) mutable {
      return (sine(a.advance(frequency)) + 0.3 * sine(b.advance(frequency * 2.0))) * std::exp(-t * 12.0);
    });
  };
  std::vector<float> samples = bell(1318.5);
  mixInto(samples, bell(1975.5), 1.0, static_cast<int>(0.07 * 44100));
  return finish(samples, kLoudPeak, 0.03);
}

// A bag dropping into a hollow metal bin: a dull thump and a ringing rattle.
std::vector<float> binDrop() {
  Noise noise(31);
  LowPass muffle(600.0);
  Phase thump, ring1, ring2, ring3;
  return finish(renderVoice(0.45, [&](double t) {
                  double body = sine(thump.advance(95.0 * std::exp(-t * 6.0))) * std::exp(-t * 20.0);
                  double thud = muffle(noise.next()) * std::exp(-t * 30.0);
                  double ring = (sine(ring1.advance(523.0)) + 0.7 * sine(ring2.advance(1187.0)) +
                                 0.4 * sine(ring3.advance(1931.0))) *
                                std::exp(-t * 9.0) * 0.25;
                  return body + 2.0 * thud + ring;
                }),
                kLoudPeak, 0.05);
}

// Click and clack of a mechanism.
std::vector<float> switchSound() {
  Noise noise(43);
  Phase tick;
  constexpr double kStart = 0.004;  // after the fade-in, so the first click keeps its edge
  return finish(renderVoice(0.12, [&](double t) {
                  if (t < kStart) return 0.0;
                  t -= kStart;
                  double click = t < 0.06 ? std::exp(-t * 250.0) : 0.7 * std::exp(-(t - 0.06) * 250.0);
                  return (0.6 * noise.next() + square(tick.advance(t < 0.06 ? 1800.0 : 1200.0))) * click;
                }),
                kLoudPeak * 0.8, 0.02);
}

}  // namespace

std::vector<SoundEffect> soundEffects() {
  return {{"jump.wav", jump()},       {"die.wav", die()},       {"land.wav", land()},
          {"throw.wav", throwSound()}, {"pickup.wav", pickup()}, {"cont.wav", binDrop()},
          {"switch.wav", switchSound()}};
}
