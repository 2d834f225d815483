#include "instruments.h"

#include <cmath>
#include <functional>
#include <string>

#include "synth.h"
#include "wav_writer.h"

namespace {

constexpr int kCycleFrames = 256;  // one cycle: C-4 with relative note 36, finetune 2
// DUMB steps the volume once per tick without ramping, so a note that starts from an
// envelope at 0 is a 20 ms gap and then a jump. Instead every tonal envelope starts loud and
// every wave starts at a zero crossing; DUMB smooths the cut of the note before.
constexpr double kSampleLevel = 0.65;

// Sum of the waveform's first harmonics only, so high notes do not alias.
double bandLimited(double cycles, int harmonics, const std::function<double(int)>& amplitude) {
  double value = 0.0;
  for (int h = 1; h <= harmonics; ++h) value += amplitude(h) * std::sin(2.0 * kPi * h * cycles);
  return value;
}

// `cycles` periods of the wave in one loop; several waves with different cycle counts beat
// against each other like a chorus. The loop's base period stays kCycleFrames.
XmSample loopedWave(const std::string& name, int cycles, const std::function<double(double)>& wave) {
  std::vector<float> samples(static_cast<size_t>(kCycleFrames * cycles));
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<float>(wave(static_cast<double>(i) / kCycleFrames));
  normalise(samples, kSampleLevel);
  XmSample sample;
  sample.name = name;
  sample.frames = toPcm16(samples);
  sample.looped = true;
  sample.loopLength = static_cast<int>(samples.size());
  sample.relativeNote = 36;
  sample.finetune = 2;
  return sample;
}

// A recording at kSampleRate whose content sounds at semitone index `pitch` (C-4 = 48)
// plays at that pitch on the matching note.
XmSample oneShot(const std::string& name, std::vector<float> samples, int pitch = kDrumNote - 1) {
  normalise(samples, kSampleLevel);
  fadeEdges(samples, 0.001, 0.01);
  XmSample sample;
  sample.name = name;
  sample.frames = toPcm16(samples);
  double transpose = 12.0 * std::log2(static_cast<double>(kSampleRate) / 8363.0) + 48 - pitch;
  sample.relativeNote = static_cast<int>(std::lround(transpose));
  sample.finetune = static_cast<int>(std::lround((transpose - sample.relativeNote) * 128.0));
  return sample;
}

XmInstrument instrument(const std::string& name, XmSample sample, std::vector<std::pair<int, int>> envelope,
                        int sustainPoint, int fadeout) {
  XmInstrument result;
  result.name = name;
  result.sample = std::move(sample);
  result.volumeEnvelope = std::move(envelope);
  result.sustainPoint = sustainPoint;
  result.fadeout = fadeout;
  return result;
}

double pulseHarmonic(int h, double duty) { return std::sin(kPi * h * duty) / h; }
double squareHarmonic(int h) { return h % 2 ? 1.0 / h : 0.0; }
double sawHarmonic(int h) { return 1.0 / h; }

XmInstrument drum(const std::string& name, double seconds, const std::function<double(double)>& voice) {
  return instrument(name, oneShot(name, renderVoice(seconds, voice)), {}, -1, 0);
}

}  // namespace

XmInstrument leadInstrument() {
  auto pulse = [](double c) { return bandLimited(c, 12, [](int h) { return pulseHarmonic(h, 0.3); }); };
  XmInstrument lead = instrument("lead", loopedWave("pulse", 1, pulse), {{0, 64}, {8, 50}, {40, 42}}, 2, 0x300);
  lead.vibratoDepth = 3;
  lead.vibratoRate = 10;
  lead.vibratoSweep = 20;
  return lead;
}

XmInstrument pluckInstrument() {
  auto square = [](double c) { return bandLimited(c, 9, squareHarmonic); };
  return instrument("pluck", loopedWave("square", 1, square), {{0, 64}, {5, 30}, {23, 8}, {39, 0}}, -1, 0x400);
}

XmInstrument bassInstrument() {
  // The triangle is shifted a quarter cycle so that the wave starts at zero like the others.
  auto wave = [](double c) { return 0.8 * triangle(c + 0.25) + 0.25 * bandLimited(c, 7, squareHarmonic); };
  return instrument("bass", loopedWave("triangle square", 1, wave), {{0, 64}, {9, 44}, {49, 30}}, 2, 0x800);
}

XmInstrument padInstrument() {
  auto saws = [](double c) { return bandLimited(c, 8, sawHarmonic) + bandLimited(c * 81.0 / 80.0, 8, sawHarmonic); };
  return instrument("pad", loopedWave("chorus saws", 80, saws), {{0, 0}, {24, 64}, {60, 56}}, 2, 0x180);
}

XmInstrument brassInstrument() {
  auto saw = [](double c) { return bandLimited(c, 14, sawHarmonic); };
  XmInstrument brass = instrument("brass", loopedWave("saw", 1, saw), {{0, 48}, {2, 64}, {11, 52}, {39, 46}}, 3, 0x300);
  brass.vibratoDepth = 4;
  brass.vibratoRate = 8;
  brass.vibratoSweep = 40;
  return brass;
}

XmInstrument kickInstrument() {
  Phase phase;
  return drum("kick", 0.3,
              [&](double t) { return sine(phase.advance(45.0 + 110.0 * std::exp(-t * 30.0))) * std::exp(-t * 12.0); });
}

XmInstrument snareInstrument() {
  Noise noise(101);
  LowPass soften(7000.0);
  Phase tone;
  return drum("snare", 0.22, [&](double t) {
    return soften(noise.next()) * std::exp(-t * 18.0) + 0.6 * sine(tone.advance(185.0)) * std::exp(-t * 30.0);
  });
}

XmInstrument hatInstrument() {
  Noise noise(202);
  LowPass body(5000.0);
  return drum("hat", 0.06, [&](double t) {
    double hiss = noise.next();
    return (hiss - body(hiss)) * std::exp(-t * 60.0);
  });
}

XmInstrument crashInstrument() {
  Noise noise(303);
  LowPass body(3000.0);
  return drum("crash", 1.4, [&](double t) {
    double hiss = noise.next();
    return (hiss - 0.7 * body(hiss)) * std::exp(-t * 3.0);
  });
}

XmInstrument timpaniInstrument() {
  constexpr int kPitch = 36;  // C-3, 130.8 Hz
  Phase phase, overtone;
  Noise noise(404);
  LowPass thud(400.0);
  auto voice = [&](double t) {
    double pitch = 130.8 * (1.0 + 0.05 * std::exp(-t * 20.0));
    double drumHead = sine(phase.advance(pitch)) + 0.3 * sine(overtone.advance(pitch * 1.5));
    return drumHead * std::exp(-t * 4.5) + thud(noise.next()) * std::exp(-t * 25.0);
  };
  return instrument("timpani", oneShot("timpani", renderVoice(0.8, voice), kPitch), {}, -1, 0);
}
