#include "entities/pop_up.h"

#include <allegro5/allegro_font.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/resource.h"
#include "entities/text_wrap.h"
#include "unit/test_support.h"

namespace {

// The characters of a text but its spaces, in order, whatever lines they were spread over.
std::string lettersOf(const std::vector<std::string>& lines) {
  std::string letters;
  for (const std::string& line : lines) {
    for (char c : line) {
      if (c != ' ') letters += c;
    }
  }
  return letters;
}

// Lines longer than the panel go on over more lines, each inside the panel with its right text
// beside it, no word lost, the right text only once and the highlight kept to the end.
TEST(PopUp, LinesWrapInsideThePanel) {
  initAllegroForTests();
  ALLEGRO_FONT* font = fontResource("media/font.ttf");
  ASSERT_NE(font, nullptr);
  auto width = [font](const std::string& text) { return al_get_text_width(font, text.c_str()); };
  const std::string longPath = "/home/player/" + std::string(150, 'x') + "/progress/levels.dat";
  const std::tuple<const char*, std::string, std::string, bool> rows[] = {
      {"a highlighted hint",
       std::string(12, ' ') + "Try to get all the loose garbage on a level, and do it under "
                              "the target time as well, to earn both crowns on every level of the campaign.",
       " ", true},
      {"a path longer than a line", "A copy of the damaged file is in '" + longPath + "'.", "", true},
      {"a left text beside a right one",
       "Loose garbage collected on this level, counted over every bag, every box "
       "and every single piece of garbage lying about anywhere:",
       "100%", true},
      {"a short line stays whole", "Elapsed time:", "12.00s", false},
  };
  for (const auto& [label, left, right, wraps] : rows) {
    PopUp panel;
    panel.addLine(left, right);
    EXPECT_EQ(panel.lines.size() > 1, wraps) << label;
    std::vector<std::string> lefts;
    int rightTexts = 0;
    for (const auto& [lineLeft, lineRight] : panel.lines) {
      bool column = !lineRight.empty() && lineRight != " ";
      EXPECT_LE(width(lineLeft) + (column ? width(lineRight) : 0), PopUp::kTextWidth) << label << ": " << lineLeft;
      if (right == " ") {
        EXPECT_EQ(lineRight, " ") << label << ": the highlight is kept";
      }
      if (column) ++rightTexts;
      lefts.push_back(lineLeft);
    }
    EXPECT_EQ(lettersOf(lefts), lettersOf({left})) << label;
    EXPECT_EQ(rightTexts, right.empty() || right == " " ? 0 : 1) << label;
  }
}

// Words break only where a word alone is wider than a line, and never inside a UTF-8 character.
TEST(TextWrap, BreaksAtSpacesThenInsideWordsOnly) {
  auto bytes = [](const std::string& text) { return static_cast<double>(text.size()); };
  const std::tuple<const char*, std::string, double, std::vector<std::string>> rows[] = {
      {"fits", "one two", 7, {"one two"}},
      {"at a space", "one two three", 8, {"one two", "three"}},
      {"a long word", "ab abcdefgh", 4, {"ab", "abcd", "efgh"}},
      {"no split character", "\xc3\xa9\xc3\xa9\xc3\xa9", 3, {"\xc3\xa9", "\xc3\xa9", "\xc3\xa9"}},
      {"narrower than a character", "abc", 0, {"a", "b", "c"}},
      {"empty", "", 5, {""}},
  };
  for (const auto& [label, text, width, lines] : rows) EXPECT_EQ(wrapText(text, width, bytes), lines) << label;
  // With a most of lines, the last holds the rest unbroken.
  const std::tuple<const char*, std::string, size_t, std::vector<std::string>> most[] = {
      {"words", "aa bb cc dd", 2, {"aa", "bb cc dd"}},
      {"a long word", "abcdefgh ij", 3, {"ab", "cd", "efgh ij"}},
      {"a long word, then short ones", "abcdef gh ij kl", 4, {"ab", "cd", "ef", "gh ij kl"}},
      {"one line", "aa bb", 1, {"aa bb"}},
  };
  for (const auto& [label, text, mostLines, lines] : most)
    EXPECT_EQ(wrapText(text, 2, bytes, mostLines), lines) << label;
}

// A sign of a megabyte without a space once took minutes to load: every line cut measured the
// whole rest of the word again. The bytes measured must grow with the text, not its square.
TEST(TextWrap, MeasuresALongWordInLinearTime) {
  const size_t letters = 200000;
  const double lineWidth = 40;
  for (const std::string& text : {std::string(letters, 'a'), "ab " + std::string(letters, 'a') + " cd"}) {
    size_t measured = 0;
    auto counted = [&measured](const std::string& piece) {
      measured += piece.size();
      return static_cast<double>(piece.size());
    };
    std::vector<std::string> lines = wrapText(text, lineWidth, counted);
    ASSERT_GE(lines.size(), letters / 40);
    for (const std::string& line : lines) ASSERT_LE(line.size(), 40u);
    EXPECT_EQ(lines[1], std::string(40, 'a'));
    EXPECT_LT(measured, 40 * text.size()) << "bytes measured for " << text.size() << " bytes of text";
    // A panel's screen of lines costs what the lines hold, however long the text.
    measured = 0;
    lines = wrapText(text, lineWidth, counted, 34);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_GT(lines.back().size(), letters - 34 * 40);
    EXPECT_LT(measured, 10 * 34 * 40u);
  }
}

}  // namespace
