#include "world/level_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "entities/prototypes.h"

namespace {

using namespace std::string_literals;

TEST(LevelText, DumpedLinesReadAsDocumented) {
  std::string bytes = "av\x05\x1c"s + "vr\x0a\x0f\x02\x01"s + "ms\x03\x04Hello$"s + "pr\x01\x02\x03\x00"s +
                      "ff\x01\x02\x05"s + "bd\x01\x02\x01"s + "ct\x0a\x1c\x03"s + "ms\x00\x00\"a\\\n\x01$"s + "\xFF"s;
  Result<std::string> text = dumpLevelText(bytes, levelKinds());
  ASSERT_TRUE(text.ok());
  std::string body = text.value().substr(text.value().find("\nav ") + 1);
  EXPECT_EQ(body,
            "av 5 28\n"
            "vr 10 15 2 on\n"
            "ms 3 4 \"Hello\"\n"
            "pr 1 2 3 off\n"
            "ff 1 2 5\n"
            "bd 1 2 feral\n"
            "ct 10 28 3\n"
            "ms 0 0 \"\\\"a\\\\\\n\\x01\"\n"
            "trailer ff\n");
}

// Every character a grid block takes is in the legend at the head of a dump, as itself or inside
// a range of characters of one meaning ("0-9").
TEST(LevelText, DumpLegendNamesEveryGridSymbol) {
  Result<std::string> dumped = dumpLevelText("", levelKinds());
  ASSERT_TRUE(dumped.ok());
  std::string legend = dumped.value();
  int symbols = 0;
  for (char c = '!'; c <= '~'; ++c) {
    if (c == '.' || !compileLevelText("grid\n"s + c + "\nend\n", levelKinds()).ok()) continue;
    ++symbols;
    bool named = legend.find("  "s + c + " ") != std::string::npos;
    for (size_t at = legend.find('-'); !named && at != std::string::npos; at = legend.find('-', at + 1)) {
      named = at > 0 && at + 1 < legend.size() && legend[at - 1] <= c && c <= legend[at + 1] && legend[at + 2] == ' ';
    }
    EXPECT_TRUE(named) << "'" << c << "' is missing from:\n" << legend;
  }
  EXPECT_EQ(symbols, 19) << "ten channels and nine kinds of object";
}

TEST(LevelText, BadTextIsRejectedWithItsLine) {
  const std::tuple<std::string, const char*> rows[] = {
      {"zz 1 2\n", "line 1: unknown kind 'zz'"},
      {"\n\ntl 1 2 10\n", "line 3: the tile channel must be a number from 0 to 9, not '10'"},
      {"tl 1 2\n", "line 1: the tile channel is missing"},
      {"av 1 2 3\n", "line 1: unexpected '3' after the avatar"},
      {"av 256 2\n", "line 1: the column must be a number from 0 to 255, not '256'"},
      {"pr 1 2 3 up\n", "line 1: the press pad resting state must be on, off or a number from 0 to 255, not 'up'"},
      {"ms 1 2 Hello\n", "line 1: the message text must be in double quotes"},
      {"ms 1 2 \"Hello\n", "line 1: the message text has no closing quote"},
      {"ms 1 2 \"A$\"\n", "line 1: a message text cannot contain '$'"},
      {"ms 1 2 \"A\\q\"\n", "line 1: unknown escape in the text (use \\\" \\\\ \\n or \\xNN)"},
      {"grid\n..Q\nend\n", "line 2: column 3: 'Q' is not a grid symbol"},
      {"grid\n" + std::string(41, '.') + "\nend\n", "line 2: a grid row has at most 40 columns"},
      {"av 1 1\ngrid\n...\n", "line 2: the grid has no \"end\" line"},
      {"trailer 41 42\n", "line 1: a trailer is one byte, or starts with ff in its first two bytes"},
      {"trailer ff\nav 1 1\n", "line 2: nothing but comments may follow the trailer"},
  };
  for (const auto& [text, message] : rows) {
    Result<std::string> result = compileLevelText(text, levelKinds());
    EXPECT_FALSE(result.ok()) << text;
    EXPECT_EQ(result.ok() ? "" : located(result.problem()), message) << text;
  }
}

}  // namespace
