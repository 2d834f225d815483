#pragma once

#include <cstdint>

// A tag is a four-character code packed into a 32-bit integer, first character in the lowest
// byte: tagOf("rndr") == 0x72646e72.
constexpr int tagOf(const char (&code)[5]) {
  return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
                          static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
                          static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
                          static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24);
}
