#include "app/utf8.h"

namespace {

const char* const kReplacementMark = "\xEF\xBF\xBD";  // U+FFFD

int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The second byte's range narrows for the leads that could otherwise spell an overlong form,
// a surrogate or a code point above U+10FFFF.
bool secondByteFits(unsigned char lead, unsigned char second) {
  if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
  if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
  if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
  return second >= 0x80 && second <= 0xBF;
}

// The length of the valid sequence starting at `at`, or 0 when none starts there.
size_t validSequenceAt(const std::string& text, size_t at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  size_t length = static_cast<size_t>(sequenceLength(lead));
  if (length == 0 || at + length > text.size()) return 0;
  if (length > 1 && !secondByteFits(lead, static_cast<unsigned char>(text[at + 1]))) return 0;
  for (size_t k = 2; k < length; ++k) {
    if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

size_t characterCount(const std::string& text) {
  size_t count = 0;
  for (unsigned char byte : text) count += (byte & 0xC0) != 0x80;
  return count;
}

size_t invalidUtf8At(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    size_t length = validSequenceAt(text, i);
    if (length == 0) return i;
    i += length;
  }
  return std::string::npos;
}

size_t characterLengthAt(const std::string& text, size_t at) {
  size_t length = validSequenceAt(text, at);
  return length == 0 ? 1 : length;
}

size_t lastCharacterStart(const std::string& text) {
  size_t last = 0;
  for (size_t at = 0; at < text.size(); at += characterLengthAt(text, at)) last = at;
  return last;
}

size_t looseCharacterCount(const std::string& text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += characterLengthAt(text, at)) ++count;
  return count;
}

std::string withReplacementMarks(const std::string& text) {
  std::string shown;
  for (size_t at = 0; at < text.size();) {
    size_t length = validSequenceAt(text, at);
    shown += length == 0 ? std::string(kReplacementMark) : text.substr(at, length);
    at += length == 0 ? 1 : length;
  }
  return shown;
}
