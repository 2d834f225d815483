#include "entities/text_wrap.h"

#include <algorithm>

// Every width is measured on a piece at most about twice as long as what fits on a line, so
// wrapping is linear in the text's length: a sign of a megabyte without a space wraps as quickly
// as any other. A piece of a long word is first tried as long as the piece before it, which
// mostly settles it in two measurements.

namespace {

constexpr size_t kFirstProbe = 64;  // bytes: more than most lines of a panel hold

bool continuesCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The first character boundary at or after `at`, or the end.
size_t boundaryFrom(const std::string& text, size_t at) {
  at = std::min(at, text.size());
  while (at < text.size() && continuesCharacter(text[at])) ++at;
  return at;
}

// Whether the text fits: its starts of doubling length are measured first, and the first that
// is too wide answers, so a long text costs about twice what fits, never its whole length.
bool fitsWhole(const std::string& text, double width, const TextWidth& widthOf) {
  for (size_t probe = kFirstProbe; probe < text.size(); probe *= 2) {
    size_t end = boundaryFrom(text, probe);
    if (end < text.size() && widthOf(text.substr(0, end)) > width) return false;
  }
  return widthOf(text) <= width;
}

// The end of the longest piece of `word` from `start` that fits, at least one character so that
// every line advances: first the length of the piece before (`hint` bytes), then doubling steps
// until a piece is too wide, then halving between the two.
size_t fittingEnd(const std::string& word, size_t start, size_t hint, double width, const TextWidth& widthOf) {
  auto fits = [&](size_t end) { return widthOf(word.substr(start, end - start)) <= width; };
  size_t good = boundaryFrom(word, start + 1);
  if (!fits(good)) return good;
  size_t bad = std::string::npos;
  size_t guess = boundaryFrom(word, start + hint);
  if (hint > 0 && guess > good && guess < word.size()) {
    if (fits(guess)) {
      good = guess;
    } else {
      bad = guess;
    }
  }
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

std::vector<std::string> wrapText(const std::string& text, double width, const TextWidth& widthOf, size_t mostLines) {
  if (mostLines <= 1 || fitsWhole(text, width, widthOf)) return {text};
  std::vector<std::string> words = wordsOf(text);
  std::vector<std::string> lines;
  std::string line;
  // The last line allowed takes the rest as it is: the words from `next` on, after `line`.
  auto rest = [&](size_t next) {
    for (size_t i = next; i < words.size(); ++i) line += (line.empty() ? "" : " ") + words[i];
    lines.push_back(line);
    return lines;
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!line.empty() && fitsWhole(line + " " + word, width, widthOf)) {
      line += " " + word;
      continue;
    }
    if (lines.size() + 1 == mostLines) return rest(i);
    if (!line.empty()) lines.push_back(line);
    line.clear();
    if (lines.size() + 1 == mostLines) return rest(i);
    if (fitsWhole(word, width, widthOf)) {
      line = word;
      continue;
    }
    size_t piece = 0;  // bytes of the piece before
    for (size_t start = 0; start < word.size();) {
      size_t end = lines.size() + 1 == mostLines ? word.size() : fittingEnd(word, start, piece, width, widthOf);
      if (end == word.size()) line = word.substr(start);
      if (end < word.size()) lines.push_back(word.substr(start, end - start));
      piece = end - start;
      start = end;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}
