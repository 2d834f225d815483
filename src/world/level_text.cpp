#include "world/level_text.h"

#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "world/channel_states.h"
#include "world/level.h"
#include "world/world.h"

namespace {

constexpr size_t kMinimumGridRun = 8;  // records; shorter runs are dumped as lines
constexpr size_t kLegendWidth = 110;   // characters of a legend line
constexpr char kEmptyCell = '.';

// The grid character of a record, or 0 when the record cannot be drawn in a grid.
char gridSymbol(const ObjectRecord& record) {
  if (record.col >= Level::kColumns || record.row >= Level::kRows) return 0;
  for (const GridSymbol& symbol : record.kind->symbols) {
    if (symbol.value == GridSymbol::kNoValue || record.fields.values.at(0) == symbol.value) return symbol.symbol;
  }
  return 0;
}

// The record a grid character stands for, without its position; false for no symbol.
bool symbolRecord(const LevelKinds& kinds, char c, ObjectRecord& record) {
  for (const LevelKind& kind : kinds) {
    for (const GridSymbol& symbol : kind.symbols) {
      if (symbol.symbol != c) continue;
      record = ObjectRecord{&kind, 0, 0, {}};
      if (symbol.value != GridSymbol::kNoValue) record.fields.values.push_back(symbol.value);
      return true;
    }
  }
  return false;
}

int cellNumber(const ObjectRecord& record) { return record.row * Level::kColumns + record.col; }

// ---- Records to text -------------------------------------------------------------------------

// "b bag", or "0-9 tile of that channel" for a run of symbols of one meaning.
std::vector<std::string> legendEntries(const LevelKinds& kinds) {
  std::vector<std::string> entries{std::string(1, kEmptyCell) + " empty"};
  for (const LevelKind& kind : kinds) {
    const std::vector<GridSymbol>& symbols = kind.symbols;
    for (size_t first = 0; first < symbols.size();) {
      size_t end = first + 1;
      while (end < symbols.size() && std::string(symbols[end].meaning) == symbols[first].meaning) ++end;
      std::string shown(1, symbols[first].symbol);
      if (end - first > 1) shown += std::string("-") + symbols[end - 1].symbol;
      entries.push_back(shown + " " + symbols[first].meaning);
      first = end;
    }
  }
  return entries;
}

// The format's name, and the legend of the grid symbols in the order of the kinds' table.
std::string header(const LevelKinds& kinds) {
  const std::string firstLine = "# grid: ";
  const std::string nextLine = "#       ";
  std::string text = "# Binhopper level (format: docs/level-text.md)\n";
  std::string line = firstLine;
  for (const std::string& entry : legendEntries(kinds)) {
    bool fresh = line.size() == firstLine.size();
    if (!fresh && line.size() + 2 + entry.size() > kLegendWidth) {
      text += line + "\n";
      line = nextLine;
      fresh = true;
    }
    line += (fresh ? "" : "  ") + entry;
  }
  return text + line + "\n";
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char byte : text) {
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += static_cast<char>(byte);
    } else {
      out += format("\\x%02X", byte);
    }
  }
  return out + "\"";
}

std::string valueText(const ParamSpec& paramSpec, int value) {
  if (paramSpec.type == Param::Flag && value == 1) return paramSpec.trueWord;
  if (paramSpec.type == Param::Flag && value == 0) return paramSpec.falseWord;
  return std::to_string(value);
}

std::string recordLine(const ObjectRecord& record) {
  std::string line = format("%s %d %d", record.kind->code, record.col, record.row);
  const std::vector<int>& values = record.fields.values;
  for (size_t i = 0; i < values.size(); ++i) line += " " + valueText(record.kind->params[i], values[i]);
  if (record.kind->text) line += " " + quoted(record.fields.text);
  return line + "\n";
}

std::string gridBlock(const std::vector<ObjectRecord>& records, size_t begin, size_t end) {
  std::vector<std::string> rows(Level::kRows, std::string(Level::kColumns, kEmptyCell));
  for (size_t i = begin; i < end; ++i) rows[records[i].row][records[i].col] = gridSymbol(records[i]);
  std::string block = "grid\n";
  for (const std::string& row : rows) block += row + "\n";
  return block + "end\n";
}

// The end of the run of records from `begin` that a grid block can hold: each one drawable
// in the grid, each in a later cell (rows top to bottom, each row left to right) than the one
// before, which is the order in which a grid block compiles.
size_t gridRunEnd(const std::vector<ObjectRecord>& records, size_t begin) {
  size_t end = begin;
  while (end < records.size() && gridSymbol(records[end]) &&
         (end == begin || cellNumber(records[end]) > cellNumber(records[end - 1]))) {
    ++end;
  }
  return end;
}

std::string trailerLine(const std::string& trailer) {
  std::string line = "trailer";
  for (unsigned char byte : trailer) line += format(" %02x", byte);
  return line + "\n";
}

}  // namespace

Result<std::string> dumpLevelText(const std::string& levelBytes, const LevelKinds& kinds) {
  Result<ParsedLevel> level = parseLevelBytes(levelBytes, kinds);
  if (!level.ok()) return level.problem();
  std::string text = header(kinds);
  const std::vector<ObjectRecord>& records = level.value().records;
  for (size_t i = 0; i < records.size();) {
    size_t end = gridRunEnd(records, i);
    if (end - i >= kMinimumGridRun) {
      text += gridBlock(records, i, end);
      i = end;
    } else {
      text += recordLine(records[i++]);
    }
  }
  if (!level.value().trailer.empty()) text += trailerLine(level.value().trailer);
  return text;
}

// ---- Text to level bytes ---------------------------------------------------------------------

namespace {

bool isHexPair(const std::string& text, size_t at) {
  return at + 2 <= text.size() && std::isxdigit(static_cast<unsigned char>(text[at])) &&
         std::isxdigit(static_cast<unsigned char>(text[at + 1]));
}

// Reads the words of one line; the first problem found is kept.
class LineReader {
 public:
  explicit LineReader(const std::string& line) : line_(line) {}

  bool failed() const { return !problem_.empty(); }
  const std::string& problem() const { return problem_; }
  void fail(const std::string& why) {
    if (problem_.empty()) problem_ = why;
  }
  bool atEnd() {
    skipSpaces();
    return position_ >= line_.size();
  }
  std::string word();
  int number(const std::string& what, int highest);
  int flag(const std::string& what, const ParamSpec& paramSpec);
  std::string quotedText();

 private:
  void skipSpaces() {
    while (position_ < line_.size() && std::isspace(static_cast<unsigned char>(line_[position_]))) ++position_;
  }
  bool escape(std::string& text);

  const std::string& line_;
  size_t position_ = 0;
  std::string problem_;
};

std::string LineReader::word() {
  skipSpaces();
  size_t start = position_;
  while (position_ < line_.size() && !std::isspace(static_cast<unsigned char>(line_[position_]))) ++position_;
  return line_.substr(start, position_ - start);
}

// A decimal number from 0 to highest, or -1 when the word is none.
int parseNumber(const std::string& text, int highest) {
  bool digits = !text.empty() && text.size() <= 3;
  for (char c : text) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  int value = digits ? std::atoi(text.c_str()) : -1;
  return value <= highest ? value : -1;
}

int LineReader::number(const std::string& what, int highest) {
  std::string text = word();
  int value = parseNumber(text, highest);
  if (text.empty()) {
    fail(format("%s is missing", what.c_str()));
  } else if (value < 0) {
    fail(format("%s must be a number from 0 to %d, not '%s'", what.c_str(), highest, text.c_str()));
  }
  return value < 0 ? 0 : value;
}

int LineReader::flag(const std::string& what, const ParamSpec& paramSpec) {
  std::string text = word();
  if (text == paramSpec.trueWord) return 1;
  if (text == paramSpec.falseWord) return 0;
  int value = parseNumber(text, 255);
  if (text.empty()) {
    fail(format("%s is missing", what.c_str()));
  } else if (value < 0) {
    fail(format("%s must be %s, %s or a number from 0 to 255, not '%s'", what.c_str(), paramSpec.trueWord,
                paramSpec.falseWord, text.c_str()));
  }
  return value < 0 ? 0 : value;
}

bool LineReader::escape(std::string& text) {
  char kind = position_ < line_.size() ? line_[position_++] : '\0';
  if (kind == '"' || kind == '\\') {
    text += kind;
  } else if (kind == 'n') {
    text += '\n';
  } else if (kind == 'x' && isHexPair(line_, position_)) {
    text += static_cast<char>(std::strtol(line_.substr(position_, 2).c_str(), nullptr, 16));
    position_ += 2;
  } else {
    fail("unknown escape in the text (use \\\" \\\\ \\n or \\xNN)");
    return false;
  }
  return true;
}

std::string LineReader::quotedText() {
  skipSpaces();
  std::string text;
  if (position_ >= line_.size() || line_[position_] != '"') {
    fail("the message text must be in double quotes");
    return text;
  }
  ++position_;
  while (position_ < line_.size() && line_[position_] != '"') {
    char c = line_[position_++];
    if (c != '\\') {
      text += c;
    } else if (!escape(text)) {
      return text;
    }
  }
  if (position_ >= line_.size()) fail("the message text has no closing quote");
  ++position_;
  if (text.find(kTextEnd) != std::string::npos) fail("a message text cannot contain '$'");
  return text;
}

ObjectRecord recordFromLine(const LevelKind& kind, LineReader& reader) {
  ObjectRecord record{&kind, 0, 0, {}};
  record.col = reader.number("the column", 255);
  record.row = reader.number("the row", 255);
  for (const ParamSpec& paramSpec : kind.params) {
    std::string what = format("the %s %s", kind.name, paramSpec.name);
    if (paramSpec.type == Param::Flag) {
      record.fields.values.push_back(reader.flag(what, paramSpec));
    } else {
      record.fields.values.push_back(reader.number(what, paramSpec.type == Param::Channel ? kChannelCount - 1 : 255));
    }
  }
  if (kind.text) record.fields.text = reader.quotedText();
  if (!reader.failed() && !reader.atEnd()) {
    reader.fail(format("unexpected '%s' after the %s", reader.word().c_str(), kind.name));
  }
  return record;
}

std::string trailerBytes(LineReader& reader) {
  std::string bytes;
  while (!reader.atEnd() && !reader.failed()) {
    std::string text = reader.word();
    if (text.size() != 2 || !isHexPair(text, 0))
      reader.fail(format("trailer bytes are two hex digits each, not '%s'", text.c_str()));
    bytes += static_cast<char>(std::strtol(text.c_str(), nullptr, 16));
  }
  bool endsLevel = bytes.size() == 1 || (bytes.size() >= 2 && (static_cast<unsigned char>(bytes[0]) == kLevelEndByte ||
                                                               static_cast<unsigned char>(bytes[1]) == kLevelEndByte));
  if (!reader.failed() && !endsLevel) reader.fail("a trailer is one byte, or starts with ff in its first two bytes");
  return bytes;
}

class Compiler {
 public:
  explicit Compiler(const LevelKinds& kinds) : kinds_(kinds) {}
  Result<std::string> run(const std::string& text);

 private:
  void statement(const std::string& line);
  void gridRow(const std::string& line);
  void endGrid();
  // The first problem is the one told.
  void fail(const std::string& why) {
    if (problem_) return;
    problem_ = ::fail(Failure::Malformed, why);
    problem_->line = lineNumber_;
  }

  const LevelKinds& kinds_;
  std::string bytes_;
  std::optional<Problem> problem_;
  int lineNumber_ = 0;
  int gridStart_ = 0;  // line of the open grid block's "grid", 0 when none is open
  std::vector<std::string> gridRows_;
  bool trailerSeen_ = false;
};

Result<std::string> Compiler::run(const std::string& text) {
  size_t start = 0;
  while (!problem_ && start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lineNumber_;
    if (gridStart_) {
      gridRow(line);
    } else {
      statement(line);
    }
    start = end + 1;
  }
  if (!problem_ && gridStart_) {
    lineNumber_ = gridStart_;
    fail("the grid has no \"end\" line");
  }
  if (problem_) return *problem_;
  return bytes_;
}

void Compiler::statement(const std::string& line) {
  LineReader reader(line);
  if (reader.atEnd()) return;
  std::string first = reader.word();
  if (first[0] == '#') return;
  if (trailerSeen_) return fail("nothing but comments may follow the trailer");
  if (first == "grid") {
    if (!reader.atEnd()) return fail("\"grid\" stands alone on its line");
    gridStart_ = lineNumber_;
    gridRows_.clear();
    return;
  }
  std::string bytes;
  if (first == "trailer") {
    bytes = trailerBytes(reader);
    trailerSeen_ = true;
  } else if (const LevelKind* kind = findKind(kinds_, first)) {
    bytes = recordBytes(recordFromLine(*kind, reader));
  } else {
    return fail(format("unknown kind '%s'", first.c_str()));
  }
  if (reader.failed()) return fail(reader.problem());
  bytes_ += bytes;
}

void Compiler::gridRow(const std::string& line) {
  std::string trimmed = line;
  while (!trimmed.empty() && std::isspace(static_cast<unsigned char>(trimmed.back()))) trimmed.pop_back();
  if (trimmed == "end") return endGrid();
  if (gridRows_.size() == static_cast<size_t>(Level::kRows)) return fail("a grid has at most 30 rows");
  if (trimmed.size() > static_cast<size_t>(Level::kColumns)) return fail("a grid row has at most 40 columns");
  for (size_t col = 0; col < trimmed.size(); ++col) {
    char c = trimmed[col];
    ObjectRecord record;
    if (c != kEmptyCell && c != ' ' && !symbolRecord(kinds_, c, record)) {
      return fail(format("column %zu: '%s' is not a grid symbol", col + 1, printableBytes(std::string(1, c)).c_str()));
    }
  }
  gridRows_.push_back(trimmed);
}

// A grid block compiles to one record per symbol, rows top to bottom, each row left to right.
void Compiler::endGrid() {
  for (size_t row = 0; row < gridRows_.size(); ++row) {
    for (size_t col = 0; col < gridRows_[row].size(); ++col) {
      ObjectRecord record;
      if (!symbolRecord(kinds_, gridRows_[row][col], record)) continue;
      record.col = static_cast<int>(col);
      record.row = static_cast<int>(row);
      bytes_ += recordBytes(record);
    }
  }
  gridStart_ = 0;
}

}  // namespace

Result<std::string> compileLevelText(const std::string& text, const LevelKinds& kinds) {
  return Compiler(kinds).run(text);
}
