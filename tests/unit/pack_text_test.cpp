#include "campaign/pack_text.h"

#include <gtest/gtest.h>

#include <string>

#include "world/world.h"

namespace {

// "name|author|description", then "N=TARGET:NAME" per kept level in file order.
std::string keptOf(const PackText& pack) {
  std::string kept = pack.name + "|" + pack.author + "|" + pack.description;
  for (const PackLevel& level : pack.levels)
    kept += format(" %d=%g:%s", level.number, level.target, level.name.c_str());
  return kept;
}

// "LINE: message" per problem, joined by " / ".
std::string problemsOf(const PackText& pack) {
  std::string problems;
  for (const PackProblem& problem : pack.problems)
    problems += (problems.empty() ? "" : " / ") + std::to_string(problem.line) + ": " + problem.message;
  return problems;
}

const std::string kName = "name = T\n";  // line 1 of most rows
const std::string kOne = "level 1 = 9 A\n";

// A text with no name and no level is OddFiles.CampaignPackText's empty pack.txt; a name too long
// is PackTools.ANewPackIsReadyForTheEditorAndNeverOverwrites'.
TEST(PackText, GoodAndBadTextsTable) {
  const std::string longLine(257, 'x');
  const std::string fullLine = "# " + std::string(254, 'x');  // 256 bytes: the longest line
  std::string twentyFourAccents;
  std::string allLevels = kName, allKept = "T||";
  for (int n = 1; n <= 24; ++n) {
    twentyFourAccents += "\xC3\xA9";  // é, two bytes each
    allLevels += format("level %d = %d L%d\n", n, n, n);
    allKept += format(" %d=%d:L%d", n, n, n);
  }
  struct Row {
    const char* label;
    std::string text;
    std::string kept;
    std::string problems;
  } const rows[] = {
      {"the built-in form",
       "# comment\n\nname = Binhopper\nauthor = The developers\ndescription = One line.\n"
       "level 1 = 15.0 First Steps\nlevel 2 = 21.5 Loose Ends\n",
       "Binhopper|The developers|One line. 1=15:First Steps 2=21.5:Loose Ends", ""},
      {"byte order mark, CRLF, tabs as blanks, no final line break",
       "\xEF\xBB\xBFname =\tT \r\nlevel 1 =\t9.25\tTabbed  Name\t\r\n  # indented comment\r\nlevel 2 = 3",
       "T|| 1=9.25:Tabbed  Name 2=3:", ""},
      {"levels in any order, optional keys left out", kName + "level 2 = 5 B\nlevel 1 = 0.01 A\n", "T|| 2=5:B 1=0.01:A",
       ""},
      {"an '=' and a '#' inside values", "name = A=B # C\n" + kOne, "A=B # C|| 1=9:A", ""},
      {"24 two-byte characters fit a 24-character name", "name = " + twentyFourAccents + "\n" + kOne,
       twentyFourAccents + "|| 1=9:A", ""},
      {"a 256-byte line fits", fullLine + "\n" + kName + kOne, "T|| 1=9:A", ""},
      {"the largest target", kName + "level 1 = 999.999 A\n", "T|| 1=999.999:A", ""},
      {"level numbers up to 24", allLevels, allKept, ""},

      {"an empty name", "name =\n" + kOne, "|| 1=9:A", "1: 'name' is empty"},
      {"a level listed twice", kName + kOne + "level 1 = 5 B\n", "T|| 1=9:A",
       "3: level 1 is listed twice (first on line 2)"},
      {"a level missing", kName + kOne + "level 3 = 5 C\n", "T|| 1=9:A 3=5:C",
       "0: level 2 is not listed (levels 1 to 3 must each be listed once)"},
      {"a bad level is reported once, not also as missing", kName + "level 1 = x A\nlevel 2 = 5 B\n", "T|| 2=5:B",
       "2: the target time 'x' of level 1 is not a number of seconds above 0 and below 1000"},
      {"no target", kName + "level 1 =\n", "T||", "2: level 1 has no target time: 'level 1 = TARGET NAME'"},
      {"level 0", kName + "level 0 = 5 A\n" + kOne, "T|| 1=9:A", "2: '0' is not a level number from 1 to 24"},
      {"level 25", kName + kOne + "level 25 = 5 A\n", "T|| 1=9:A", "3: '25' is not a level number from 1 to 24"},
      {"a word for a number", kName + "level one = 5 A\n" + kOne, "T|| 1=9:A",
       "2: 'one' is not a level number from 1 to 24"},
      {"no number", kName + "level = 5 A\n" + kOne, "T|| 1=9:A",
       "2: 'level' without a number: 'level N = TARGET NAME'"},
      {"an overlong line", kName + kOne + "# " + longLine + "\n", "T|| 1=9:A", "3: line longer than 256 bytes"},
      {"a cut UTF-8 sequence", "name = Caf\xC3\n" + kOne, "|| 1=9:A",
       "1: not UTF-8 text (byte 11 of the line) / 0: no 'name = ...' line"},
      {"an overlong UTF-8 form", kName + "author = \xC0\xAF\n" + kOne, "T|| 1=9:A",
       "2: not UTF-8 text (byte 10 of the line)"},
      {"a UTF-16 surrogate", kName + "author = \xED\xA0\x80\n" + kOne, "T|| 1=9:A",
       "2: not UTF-8 text (byte 10 of the line)"},
      {"a control character", kName + "author = A\aB\n" + kOne, "T|| 1=9:A",
       "2: control character U+0007 (byte 11 of the line)"},
      {"a zero byte", kName + std::string("author = A\0B\n", 13) + kOne, "T|| 1=9:A",
       "2: control character U+0000 (byte 11 of the line)"},
      {"a tab inside a name", "name = A\tB\n" + kOne, "|| 1=9:A", "1: 'name' holds a tab; use spaces"},
      {"an unknown key", kName + "autor = X\n" + kOne, "T|| 1=9:A",
       "2: unknown key 'autor' (the keys are name, author, description and level N)"},
      {"no '='", kName + "level 1: 9 A\n" + kOne, "T|| 1=9:A",
       "2: expected 'key = value' (or a comment line starting with '#')"},
      {"the name twice", kName + "name = U\n" + kOne, "T|| 1=9:A", "2: 'name' is given twice (first on line 1)"},
      {"a 49-character author", kName + "author = " + std::string(49, 'a') + "\n" + kOne, "T|| 1=9:A",
       "2: 'author' is longer than 48 characters"},
      {"a 121-character description", kName + "description = " + std::string(121, 'd') + "\n" + kOne, "T|| 1=9:A",
       "2: 'description' is longer than 120 characters"},
      {"a 33-character level name", kName + "level 1 = 9 " + std::string(33, 'l') + "\n", "T||",
       "2: the name of level 1 is longer than 32 characters"},
      {"a file over 16384 bytes", kName + kOne + std::string(16384, '\n'), "||", "0: larger than 16384 bytes"},
  };
  for (const Row& row : rows) {
    PackText pack = parsePackText(row.text);
    EXPECT_EQ(keptOf(pack), row.kept) << row.label;
    EXPECT_EQ(problemsOf(pack), row.problems) << row.label;
  }
}

// A target is a plain decimal above 0 and below 1000: zero, signs, infinities, exponents, a
// bare point and a comma are each refused with the same message.
TEST(PackText, TargetsThatAreNotPlainSeconds) {
  for (const char* target : {"0.0", "-1", "inf", "nan", "1e2", "1000", "5.", "5,5"}) {
    PackText pack = parsePackText(kName + "level 1 = " + target + " A\n");
    EXPECT_EQ(keptOf(pack), "T||") << target;
    EXPECT_EQ(problemsOf(pack), std::string("2: the target time '") + target +
                                    "' of level 1 is not a number of seconds above 0 and below 1000")
        << target;
  }
}

}  // namespace
