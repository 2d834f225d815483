#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The parts of the FastTracker 2 "Extended Module" format that our music uses, written in
// the exact layout DUMB's XM loader accepts (header size 276, pattern header 9, sample
// header 40, delta-coded 16-bit samples).

constexpr int kKeyOff = 97;

struct XmCell {
  std::uint8_t note = 0;        // 1..96 (C-0..B-7), kKeyOff, or 0 for none
  std::uint8_t instrument = 0;  // 1-based, 0 keeps the channel's instrument
  std::uint8_t volume = 0;      // volume column: 0x10..0x50 sets 0..64
  std::uint8_t effect = 0;
  std::uint8_t parameter = 0;
};

struct XmPattern {
  int rows = 64;
  std::vector<XmCell> cells;  // rows x channels, row by row
};

struct XmSample {
  std::string name;
  std::vector<std::int16_t> frames;
  bool looped = false;
  int loopStart = 0;   // frames
  int loopLength = 0;  // frames
  int volume = 64;
  int finetune = 0;      // 1/128 semitone
  int relativeNote = 0;  // semitones
  int panning = 128;
};

struct XmInstrument {
  std::string name;
  XmSample sample;
  std::vector<std::pair<int, int>> volumeEnvelope;  // (tick, 0..64); empty: none
  int sustainPoint = -1;                            // index into the envelope, -1: none
  int fadeout = 0;                                  // >= 32 to take effect in DUMB
  int vibratoDepth = 0, vibratoRate = 0, vibratoSweep = 0;
};

struct XmModule {
  std::string name;
  int channels = 4;
  int speed = 6;  // ticks per row
  int bpm = 125;
  int restart = 0;  // order played after the last one
  std::vector<int> orders;
  std::vector<XmPattern> patterns;
  std::vector<XmInstrument> instruments;
};

std::vector<std::uint8_t> xmBytes(const XmModule& module);

// Seconds from the first row to the loop back to the restart order, for a module whose
// speed and tempo never change.
double xmPlayingSeconds(const XmModule& module);
