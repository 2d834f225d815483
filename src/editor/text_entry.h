#pragma once

#include <allegro5/allegro_font.h>

#include <string>

#include "entities/message.h"
#include "entities/pop_up.h"

// The one-line entry in which the author types a sign's message. It takes the keyboard's
// character events; Enter keeps the text, Escape drops it. It works by character: Backspace
// takes a whole UTF-8 character (or one stray byte of text that is not UTF-8), the counter counts
// characters, and stray bytes show as replacement marks, so a text is never written back split.
class TextEntry {
 public:
  static constexpr size_t kMostCharacters = kLongestSignText;
  enum class Outcome { Editing, Confirmed, Cancelled };

  // Opens with the text to edit; a text of more characters than the entry takes is refused,
  // never cut, and the entry stays closed. The label stands before the text, the keys below it.
  bool open(const std::string& text, double openedAt, const std::string& label = "Sign text",
            const std::string& keys = "Enter: keep   Escape: cancel");
  void close() { isOpen_ = false; }
  bool isOpen() const { return isOpen_; }
  const std::string& text() const { return text_; }

  // One key of the keyboard's character events. Events older than the opening belong to the
  // key that opened the entry and are ignored.
  Outcome type(int keyCode, int character, double timestamp);
  void draw();

 private:
  std::string text_;
  std::string label_;
  std::string keys_;
  double openedAt = 0;
  bool isOpen_ = false;
  PopUp panel;
};
