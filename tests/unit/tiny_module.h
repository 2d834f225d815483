#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

// Writes a small two-channel XM module for the music tests: one pattern of `rows` rows played
// at `speed` ticks per row and `bpm`; with a note, channel 0 starts a looping sine sample at
// full volume on row 0, otherwise the module is silent.
struct TinyModule {
  int rows = 16;
  int speed = 6;
  int bpm = 125;
  bool note = true;
};

namespace tiny_module_detail {

inline void put8(std::string& out, int value) { out.push_back(static_cast<char>(value & 0xFF)); }
inline void put16(std::string& out, int value) {
  put8(out, value);
  put8(out, value >> 8);
}
inline void put32(std::string& out, long value) {
  put16(out, static_cast<int>(value & 0xFFFF));
  put16(out, static_cast<int>((value >> 16) & 0xFFFF));
}
inline void putText(std::string& out, const char* text, size_t width) {
  std::string padded(text);
  padded.resize(width, '\0');
  out += padded;
}

inline std::string pattern(const TinyModule& module) {
  std::string rows;
  for (int row = 0; row < module.rows; ++row) {
    for (int channel = 0; channel < 2; ++channel) {
      bool starts = module.note && row == 0 && channel == 0;
      put8(rows, starts ? 0x83 : 0x80);  // packed: note and instrument follow, or an empty cell
      if (starts) {
        put8(rows, 49);  // C-4
        put8(rows, 1);   // instrument 1
      }
    }
  }
  std::string out;
  put32(out, 9);  // pattern header length
  put8(out, 0);   // packing type
  put16(out, module.rows);
  put16(out, static_cast<int>(rows.size()));
  return out + rows;
}

inline std::string sineInstrument() {
  constexpr int kLength = 64;             // sample frames, one sine period
  constexpr int kHeaderSize = 263;        // the usual XM instrument header size
  constexpr int kHeaderFieldBytes = 243;  // bytes written below before the padding
  std::string out;
  put32(out, kHeaderSize);
  putText(out, "sine", 22);
  put8(out, 0);
  put16(out, 1);         // one sample
  put32(out, 40);        // sample header size
  out.append(96, '\0');  // every note maps to sample 0
  out.append(96, '\0');  // volume and panning envelopes, unused
  out.append(14, '\0');  // envelope counts, loops, vibrato
  put16(out, 0);         // fadeout
  put16(out, 0);         // reserved
  out.append(kHeaderSize - kHeaderFieldBytes, '\0');
  put32(out, kLength);
  put32(out, 0);        // loop start
  put32(out, kLength);  // loop length
  put8(out, 64);        // volume
  put8(out, 0);         // finetune
  put8(out, 1);         // forward loop, 8-bit
  put8(out, 128);       // panning
  put8(out, 0);         // relative note
  put8(out, 0);
  putText(out, "sine", 22);
  int previous = 0;
  for (int i = 0; i < kLength; ++i) {
    int value = static_cast<int>(100 * std::sin(i * 2 * M_PI / kLength));
    put8(out, value - previous);  // XM stores sample deltas
    previous = value;
  }
  return out;
}

}  // namespace tiny_module_detail

inline std::string tinyModuleBytes(const TinyModule& module) {
  using namespace tiny_module_detail;
  std::string out;
  putText(out, "Extended Module: ", 17);
  putText(out, "tiny", 20);
  put8(out, 0x1A);
  putText(out, "tests", 20);
  put16(out, 0x0104);
  put32(out, 276);  // header size from here
  put16(out, 1);    // song length in orders
  put16(out, 0);    // restart position
  put16(out, 2);    // channels
  put16(out, 1);    // patterns
  put16(out, 1);    // instruments
  put16(out, 1);    // linear frequency table
  put16(out, module.speed);
  put16(out, module.bpm);
  out.append(256, '\0');  // order table: pattern 0
  return out + pattern(module) + sineInstrument();
}

inline std::string writeTinyModule(const std::string& path, const TinyModule& module) {
  std::string bytes = tinyModuleBytes(module);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return path;
}
