#include "campaign/pack_text.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "app/result.h"
#include "world/world.h"

namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";
const char* const kBlanks = " \t";

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool allDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Digits, optionally a point and more digits: no sign, exponent, "inf" or "nan".
bool readTarget(const std::string& text, double& seconds) {
  size_t point = text.find('.');
  bool plain = point == std::string::npos ? allDigits(text)
                                          : allDigits(text.substr(0, point)) && allDigits(text.substr(point + 1));
  if (!plain) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  return error == std::errc() && end == text.data() + text.size() && seconds > 0.0 && seconds < kLongestTarget;
}

// Whether the bytes of one line can be read (tabs count as blanks), or what is wrong with them.
Result<> checkLineBytes(const std::string& line) {
  if (line.size() > kPackLineBytes)
    return fail(Failure::TooLarge, format("line longer than %zu bytes", kPackLineBytes));
  size_t invalid = invalidUtf8At(line);
  if (invalid != std::string::npos)
    return fail(Failure::Malformed, format("not UTF-8 text (byte %zu of the line)", invalid + 1));
  for (size_t i = 0; i < line.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(line[i]);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
      return fail(Failure::Malformed, format("control character U+%04X (byte %zu of the line)", byte, i + 1));
  }
  return {};
}

// Whether a text value may be kept, or what is wrong with it.
Result<> checkText(const std::string& what, const std::string& text, size_t longest) {
  if (characterCount(text) > longest)
    return fail(Failure::TooLarge, format("%s is longer than %zu characters", what.c_str(), longest));
  if (text.find('\t') != std::string::npos) return fail(Failure::Malformed, what + " holds a tab; use spaces");
  return {};
}

class Parser {
 public:
  explicit Parser(PackText& pack) : pack_(pack) {}

  void readLine(int line, const std::string& text) {
    Result<> readable = checkLineBytes(text);
    if (!readable.ok()) return report(line, readable.problem().message);
    std::string content = trimmed(text);
    if (content.empty() || content[0] == '#') return;
    size_t equals = content.find('=');
    if (equals == std::string::npos)
      return report(line, "expected 'key = value' (or a comment line starting with '#')");
    readEntry(line, trimmed(content.substr(0, equals)), trimmed(content.substr(equals + 1)));
  }

  void finish() {
    if (!nameTried_) report(0, "no 'name = ...' line");
    int highest = pack_.highestLevel();
    if (highest == 0 && triedLevels_.empty())
      report(0, format("no level listed: a campaign holds 1 to %d levels, each on a line 'level N = TARGET NAME'",
                       kMaximumLevels));
    for (int number = 1; number < highest; ++number) {
      if (!triedLevels_.count(number))
        report(0, format("level %d is not listed (levels 1 to %d must each be listed once)", number, highest));
    }
  }

 private:
  void report(int line, const std::string& message) { pack_.problems.push_back(PackProblem{line, message}); }

  void readEntry(int line, const std::string& key, const std::string& value) {
    nameTried_ = nameTried_ || key == "name";
    if (key == "name") return readText(line, key, value, kPackNameCharacters, nameLine_, pack_.name);
    if (key == "author") return readText(line, key, value, kAuthorCharacters, authorLine_, pack_.author);
    if (key == "description")
      return readText(line, key, value, kDescriptionCharacters, descriptionLine_, pack_.description);
    if (key.compare(0, 5, "level") == 0 && (key.size() == 5 || key[5] == ' ' || key[5] == '\t'))
      return readLevel(line, trimmed(key.substr(5)), value);
    report(line, "unknown key '" + key + "' (the keys are name, author, description and level N)");
  }

  void readText(int line, const std::string& key, const std::string& value, size_t longest, int& seenOn,
                std::string& field) {
    if (seenOn) return report(line, format("'%s' is given twice (first on line %d)", key.c_str(), seenOn));
    Result<> kept = value.empty() && key == "name" ? fail(Failure::Empty, "'name' is empty")
                                                   : checkText("'" + key + "'", value, longest);
    if (!kept.ok()) return report(line, kept.problem().message);
    seenOn = line;
    field = value;
  }

  void readLevel(int line, const std::string& numberText, const std::string& value) {
    if (numberText.empty()) return report(line, "'level' without a number: 'level N = TARGET NAME'");
    int number = allDigits(numberText) && numberText.size() <= 2 ? std::stoi(numberText) : 0;
    if (number < 1 || number > kMaximumLevels)
      return report(line, format("'%s' is not a level number from 1 to %d", numberText.c_str(), kMaximumLevels));
    triedLevels_.insert(number);
    if (const PackLevel* first = pack_.level(number))
      return report(line, format("level %d is listed twice (first on line %d)", number, first->line));
    size_t gap = value.find_first_of(kBlanks);
    std::string targetText = value.substr(0, gap);
    std::string name = gap == std::string::npos ? "" : trimmed(value.substr(gap));
    double target = 0.0;
    if (targetText.empty())
      return report(line, format("level %d has no target time: 'level %d = TARGET NAME'", number, number));
    if (!readTarget(targetText, target))
      return report(line, format("the target time '%s' of level %d is not a number of seconds above 0 and below %g",
                                 targetText.c_str(), number, kLongestTarget));
    Result<> kept = checkText(format("the name of level %d", number), name, kLevelNameCharacters);
    if (!kept.ok()) return report(line, kept.problem().message);
    pack_.levels.push_back(PackLevel{number, target, name, line});
  }

  PackText& pack_;
  int nameLine_ = 0;
  bool nameTried_ = false;  // a name line was read, kept or not
  int authorLine_ = 0;
  int descriptionLine_ = 0;
  std::set<int> triedLevels_;  // every number a level line named, kept or not
};

// The length of the UTF-8 sequence that a lead byte starts, or 0 for a byte that starts none.
}  // namespace

const PackLevel* PackText::level(int number) const {
  for (const PackLevel& entry : levels) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

int PackText::highestLevel() const {
  int highest = 0;
  for (const PackLevel& entry : levels) highest = std::max(highest, entry.number);
  return highest;
}

PackText parsePackText(const std::string& bytes) {
  PackText pack;
  Parser parser(pack);
  if (bytes.size() > kPackFileBytes) {
    pack.problems.push_back(PackProblem{0, format("larger than %zu bytes", kPackFileBytes)});
    return pack;
  }
  size_t start = bytes.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0 ? kByteOrderMark.size() : 0;
  for (int line = 1; start < bytes.size(); ++line) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string text = bytes.substr(start, end - start);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    parser.readLine(line, text);
    start = end + 1;
  }
  parser.finish();
  return pack;
}
