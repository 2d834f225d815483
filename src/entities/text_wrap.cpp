#include "entities/text_wrap.h"

namespace {

bool continuesCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The longest start of `word` that fits, at least one character so that every line advances.
size_t fittingPrefix(const std::string& word, double width, const TextWidth& widthOf) {
  size_t fits = 0;
  for (size_t end = 1; end <= word.size(); ++end) {
    if (end < word.size() && continuesCharacter(word[end])) continue;
    if (widthOf(word.substr(0, end)) > width) break;
    fits = end;
  }
  if (fits > 0) return fits;
  size_t first = 1;
  while (first < word.size() && continuesCharacter(word[first])) ++first;
  return first;
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
  for (std::string word : wordsOf(text)) {
    std::string joined = line.empty() ? word : line + " " + word;
    if (widthOf(joined) <= width) {
      line = joined;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    while (widthOf(word) > width) {
      size_t cut = fittingPrefix(word, width, widthOf);
      lines.push_back(word.substr(0, cut));
      word.erase(0, cut);
    }
    line = word;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}
