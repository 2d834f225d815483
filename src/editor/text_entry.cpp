#include "editor/text_entry.h"

#include <allegro5/allegro.h>

#include "app/utf8.h"
#include "world/level_record.h"

namespace {

constexpr int kFirstPrintable = ' ';
constexpr int kDelete = 0x7F;
constexpr int kFirstAfterC1Controls = 0xA0;
constexpr int kFirstSurrogate = 0xD800;
constexpr int kLastSurrogate = 0xDFFF;
constexpr int kLastCodePoint = 0x10FFFF;

// The character that ends a sign's text in the level file cannot be typed, nor a control.
bool typeable(int character) {
  if (character < kFirstPrintable || character == kTextEnd || character > kLastCodePoint) return false;
  if (character >= kDelete && character < kFirstAfterC1Controls) return false;
  return character < kFirstSurrogate || character > kLastSurrogate;
}

std::string utf8Of(int character) {
  char32_t c = static_cast<char32_t>(character);
  std::string bytes;
  if (c < 0x80) {
    bytes += static_cast<char>(c);
  } else if (c < 0x800) {
    bytes += static_cast<char>(0xC0 | (c >> 6));
    bytes += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    bytes += static_cast<char>(0xE0 | (c >> 12));
    bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (c >> 18));
    bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (c & 0x3F));
  }
  return bytes;
}

}  // namespace

bool TextEntry::open(const std::string& text, double openedAtTime, const std::string& label, const std::string& keys) {
  if (looseCharacterCount(text) > kMostCharacters) return false;
  text_ = text;
  label_ = label;
  keys_ = keys;
  openedAt = openedAtTime;
  isOpen_ = true;
  return true;
}

TextEntry::Outcome TextEntry::type(int keyCode, int character, double timestamp) {
  if (!isOpen_ || timestamp < openedAt) return Outcome::Editing;
  if (keyCode == ALLEGRO_KEY_ESCAPE) return Outcome::Cancelled;
  if (keyCode == ALLEGRO_KEY_ENTER || keyCode == ALLEGRO_KEY_PAD_ENTER) return Outcome::Confirmed;
  if (keyCode == ALLEGRO_KEY_BACKSPACE) {
    text_.erase(lastCharacterStart(text_));
  } else if (typeable(character) && looseCharacterCount(text_) < kMostCharacters) {
    text_ += utf8Of(character);
  }
  return Outcome::Editing;
}

void TextEntry::draw() {
  panel.lines.clear();
  panel.addLine(label_ + ": " + withReplacementMarks(text_) + "_", " ");
  panel.addLine(keys_, std::to_string(looseCharacterCount(text_)) + "/" + std::to_string(kMostCharacters));
  panel.visible = true;
  panel.draw();
}
