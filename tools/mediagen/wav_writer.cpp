#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
void put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<std::uint8_t>& out, unsigned value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

void putText(std::vector<std::uint8_t>& out, const char* text) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(text[i]));
}
}  // namespace

std::vector<std::uint8_t> wavBytes(const std::vector<std::int16_t>& samples) {
  const unsigned dataSize = static_cast<unsigned>(samples.size() * 2);
  std::vector<std::uint8_t> out;
  putText(out, "RIFF");
  put32(out, 36 + dataSize);
  putText(out, "WAVE");
  putText(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, kSampleRate);
  put32(out, kSampleRate * 2);
  put16(out, 2);
  put16(out, 16);
  putText(out, "data");
  put32(out, dataSize);
  for (std::int16_t sample : samples) put16(out, static_cast<std::uint16_t>(sample));
  return out;
}

std::vector<std::int16_t> toPcm16(const std::vector<float>& samples) {
  std::vector<std::int16_t> out;
  out.reserve(samples.size());
  for (float sample : samples)
    out.push_back(static_cast<std::int16_t>(std::clamp(std::lround(sample * 32767.0), -32767L, 32767L)));
  return out;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
