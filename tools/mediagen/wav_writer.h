#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 44100;  // Hz, for every sound and instrument sample

// 16-bit signed PCM, one channel, kSampleRate, as a complete RIFF WAVE file.
std::vector<std::uint8_t> wavBytes(const std::vector<std::int16_t>& samples);

// Float samples in -1..1 to 16-bit, rounded and clamped.
std::vector<std::int16_t> toPcm16(const std::vector<float>& samples);

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
