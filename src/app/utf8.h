#pragma once

#include <cstddef>
#include <string>

// UTF-8 as the texts players and authors write are read: a byte that starts no valid sequence
// (overlong forms, surrogates and code points above U+10FFFF included) stands for itself, one
// character wide, so that text that is not valid UTF-8 is still edited, counted and shown
// without ever being split inside a valid character.

// The number of characters (code points) of valid UTF-8 text.
size_t characterCount(const std::string& text);
// The offset of the first byte that is not part of valid UTF-8, or npos when the whole text is
// valid.
size_t invalidUtf8At(const std::string& text);
// The length of the character starting at `at`: its valid sequence, or 1 for a stray byte.
size_t characterLengthAt(const std::string& text, size_t at);
// Where the last character of the text starts (0 for an empty text).
size_t lastCharacterStart(const std::string& text);
// The characters of the text, each stray byte one.
size_t looseCharacterCount(const std::string& text);
// The text with each stray byte replaced by U+FFFD, the replacement mark.
std::string withReplacementMarks(const std::string& text);
