#include "editor/text_entry.h"

#include <allegro5/allegro.h>

#include "world/level_record.h"

namespace {

constexpr int kFirstPrintable = ' ';
constexpr int kLastPrintable = '~';

// The character that ends a sign's text in the level file cannot be typed.
bool typeable(int character) {
  return character >= kFirstPrintable && character <= kLastPrintable && character != kTextEnd;
}

}  // namespace

bool TextEntry::open(const std::string& text, double openedAtTime) {
  if (text.size() > kMostCharacters) return false;
  text_ = text;
  openedAt = openedAtTime;
  isOpen_ = true;
  return true;
}

TextEntry::Outcome TextEntry::type(int keyCode, int character, double timestamp) {
  if (!isOpen_ || timestamp < openedAt) return Outcome::Editing;
  if (keyCode == ALLEGRO_KEY_ESCAPE) return Outcome::Cancelled;
  if (keyCode == ALLEGRO_KEY_ENTER || keyCode == ALLEGRO_KEY_PAD_ENTER) return Outcome::Confirmed;
  if (keyCode == ALLEGRO_KEY_BACKSPACE) {
    if (!text_.empty()) text_.pop_back();
  } else if (typeable(character) && text_.size() < kMostCharacters) {
    text_.push_back(static_cast<char>(character));
  }
  return Outcome::Editing;
}

void TextEntry::draw() {
  panel.lines.clear();
  panel.addLine("Sign text: " + text_ + "_", " ");
  panel.addLine("Enter: keep   Escape: cancel", std::to_string(text_.size()) + "/" + std::to_string(kMostCharacters));
  panel.visible = true;
  panel.draw();
}
