#include "entities/text_wrap.h"

#include <algorithm>

// Every width is measured on a piece at most about twice as long as a line, and each word is
// measured whole at most twice, so wrapping is linear in the text's length (times the log of a
// line's length): a sign of a megabyte without a space wraps as quickly as any other.

namespace {

bool continuesCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The first character boundary at or after `at`, or the end.
size_t boundaryFrom(const std::string& text, size_t at) {
  at = std::min(at, text.size());
  while (at < text.size() && continuesCharacter(text[at])) ++at;
  return at;
}

// The end of the longest piece of `word` from `start` that fits, at least one character so that
// every line advances: doubling steps until a piece is too wide, then halving between the two.
size_t fittingEnd(const std::string& word, size_t start, double width, const TextWidth& widthOf) {
  auto fits = [&](size_t end) { return widthOf(word.substr(start, end - start)) <= width; };
  size_t good = boundaryFrom(word, start + 1);
  if (!fits(good)) return good;
  size_t bad = std::string::npos;
  for (size_t step = 1; good < word.size() && bad == std::string::npos; step *= 2) {
    size_t next = boundaryFrom(word, good + step);
    if (fits(next)) {
      good = next;
    } else {
      bad = next;
    }
  }
  if (bad == std::string::npos) return good;
  for (;;) {
    size_t middle = boundaryFrom(word, good + (bad - good) / 2);
    if (middle <= good) middle = boundaryFrom(word, good + 1);
    if (middle >= bad) return good;
    if (fits(middle)) {
      good = middle;
    } else {
      bad = middle;
    }
  }
}

std::vector<std::string> wordsOf(const std::string& text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start <= text.size()) {
    size_t space = text.find(' ', start);
    if (space == std::string::npos) space = text.size();
    if (space > start) words.push_back(text.substr(start, space - start));
    start = space + 1;
  }
  return words;
}

}  // namespace

std::vector<std::string> wrapText(const std::string& text, double width, const TextWidth& widthOf) {
  if (widthOf(text) <= width) return {text};
  std::vector<std::string> lines;
  std::string line;
  for (const std::string& word : wordsOf(text)) {
    if (!line.empty() && widthOf(line + " " + word) <= width) {
      line += " " + word;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
    if (widthOf(word) <= width) {
      line = word;
      continue;
    }
    for (size_t start = 0; start < word.size();) {
      size_t end = fittingEnd(word, start, width, widthOf);
      if (end == word.size()) line = word.substr(start);
      if (end < word.size()) lines.push_back(word.substr(start, end - start));
      start = end;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}
