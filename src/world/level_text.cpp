#include "world/level_text.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "world/channel_states.h"
#include "world/level.h"
#include "world/world.h"

namespace {

constexpr int kEndByte = 0xFF;         // a code byte of this value ends a level
constexpr char kTextEnd = '$';         // ends the text of a message record
constexpr size_t kMinimumGridRun = 8;  // records; shorter runs are dumped as lines
constexpr char kEmptyCell = '.';

enum class Param { Number, Channel, Flag };

struct ParamSpec {
  Param type;
  const char* name;
  const char* trueWord = nullptr;  // flags: the words for 1 and 0
  const char* falseWord = nullptr;
};

// A kind of level object as the file stores it: code, column, row, then its parameter bytes,
// then (messages only) text ended by "$".
struct Kind {
  const char* code;
  const char* name;
  std::vector<ParamSpec> params;
  bool text;
};

const std::vector<Kind>& kinds() {
  static const std::vector<Kind> table = {
      {"tl", "tile", {{Param::Channel, "channel"}}, false},
      {"ct", "container", {{Param::Number, "count"}}, false},
      {"gb", "bag", {}, false},
      {"av", "avatar", {}, false},
      {"ms", "message", {}, true},
      {"lg", "loose garbage", {}, false},
      {"vr", "lever", {{Param::Channel, "channel"}, {Param::Flag, "state", "on", "off"}}, false},
      {"sp", "spikes", {}, false},
      {"ff", "force field", {{Param::Flag, "direction", "vertical", "horizontal"}}, false},
      {"pr", "press pad", {{Param::Channel, "channel"}, {Param::Flag, "resting state", "on", "off"}}, false},
      {"bd", "baddie", {{Param::Flag, "temper", "feral", "tame"}}, false},
      {"fw", "fireworks", {}, false},
  };
  return table;
}

const Kind* findKind(const std::string& code) {
  for (const Kind& kind : kinds()) {
    if (code == kind.code) return &kind;
  }
  return nullptr;
}

struct Record {
  const Kind* kind;
  int col;
  int row;
  std::vector<int> values;  // one per parameter, 0 to 255
  std::string text;
};

std::string recordBytes(const Record& record) {
  std::string bytes = record.kind->code;
  bytes += static_cast<char>(record.col);
  bytes += static_cast<char>(record.row);
  for (int value : record.values) bytes += static_cast<char>(value);
  if (record.kind->text) bytes += record.text + kTextEnd;
  return bytes;
}

// One character of a grid block: a kind, and its one parameter value where it has one.
struct Symbol {
  char symbol;
  const char* code;
  int value;  // -1: the kind has no parameter
};

const std::vector<Symbol>& symbols() {
  static const std::vector<Symbol> table = [] {
    std::vector<Symbol> list;
    for (int channel = 0; channel < kChannelCount; ++channel) list.push_back({char('0' + channel), "tl", channel});
    list.insert(list.end(), {{'A', "av", -1},
                             {'b', "gb", -1},
                             {'*', "lg", -1},
                             {'^', "sp", -1},
                             {'F', "fw", -1},
                             {'t', "bd", 0},
                             {'f', "bd", 1},
                             {'-', "ff", 0},
                             {'|', "ff", 1}});
    return list;
  }();
  return table;
}

const Symbol* symbolOf(char c) {
  for (const Symbol& symbol : symbols()) {
    if (symbol.symbol == c) return &symbol;
  }
  return nullptr;
}

// The grid character of a record, or 0 when the record cannot be drawn in a grid.
char gridSymbol(const Record& record) {
  if (record.col >= Level::kColumns || record.row >= Level::kRows) return 0;
  for (const Symbol& symbol : symbols()) {
    if (record.kind->code != std::string(symbol.code)) continue;
    if (symbol.value < 0 || record.values.at(0) == symbol.value) return symbol.symbol;
  }
  return 0;
}

int cellNumber(const Record& record) { return record.row * Level::kColumns + record.col; }

}  // namespace

std::string printableBytes(const std::string& bytes) {
  std::string text;
  for (unsigned char byte : bytes) {
    if (std::isprint(byte)) {
      text += static_cast<char>(byte);
    } else {
      text += format("\\x%02X", byte);
    }
  }
  return text;
}

// ---- Level bytes to records ------------------------------------------------------------------

namespace {

struct ParsedLevel {
  std::vector<Record> records;
  std::string trailer;  // bytes after the end of the level, which the loader never reads
};

class ByteReader {
 public:
  explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}
  size_t offset() const { return offset_; }
  size_t left() const { return bytes_.size() - offset_; }
  int peek(size_t ahead) const { return static_cast<unsigned char>(bytes_[offset_ + ahead]); }
  int next() { return static_cast<unsigned char>(bytes_[offset_++]); }
  std::string rest() const { return bytes_.substr(offset_); }

 private:
  const std::string& bytes_;
  size_t offset_ = 0;
};

std::string checkChannels(const Record& record) {
  for (size_t i = 0; i < record.values.size(); ++i) {
    int value = record.values[i];
    if (record.kind->params[i].type == Param::Channel && value >= kChannelCount) {
      return format("%s channel %d is outside 0 to %d", record.kind->name, value, kChannelCount - 1);
    }
  }
  return "";
}

// Reads the record after its code; false when the bytes run out first.
bool readRecordBody(ByteReader& reader, Record& record) {
  if (reader.left() < 2 + record.kind->params.size()) return false;
  record.col = reader.next();
  record.row = reader.next();
  for (size_t i = 0; i < record.kind->params.size(); ++i) record.values.push_back(reader.next());
  if (!record.kind->text) return true;
  while (reader.left() > 0) {
    char c = static_cast<char>(reader.next());
    if (c == kTextEnd) return true;
    record.text += c;
  }
  return false;
}

bool atLevelEnd(const ByteReader& reader) {
  return reader.left() < 2 || reader.peek(0) == kEndByte || reader.peek(1) == kEndByte;
}

bool parseLevelBytes(const std::string& bytes, ParsedLevel& level, std::string& message) {
  ByteReader reader(bytes);
  while (!atLevelEnd(reader)) {
    size_t offset = reader.offset();
    std::string code;
    code += static_cast<char>(reader.next());
    code += static_cast<char>(reader.next());
    Record record{findKind(code), 0, 0, {}, ""};
    if (!record.kind) {
      message = format("byte %zu: unknown kind '%s'", offset, printableBytes(code).c_str());
      return false;
    }
    if (!readRecordBody(reader, record)) {
      message = format("byte %zu: the file ends inside the \"%s\" record", offset, code.c_str());
      return false;
    }
    std::string problem = checkChannels(record);
    if (!problem.empty()) {
      message = format("byte %zu: %s", offset, problem.c_str());
      return false;
    }
    level.records.push_back(record);
  }
  level.trailer = reader.rest();
  return true;
}

// ---- Records to text -------------------------------------------------------------------------

const char* const kHeader =
    "# Binhopper level (format: docs/level-text.md)\n"
    "# grid: . empty  0-9 tile of that channel  A avatar  b bag  * loose garbage  ^ spikes\n"
    "#       F fireworks  t tame baddie  f feral baddie  - horizontal force field  | vertical force field\n";

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

std::string recordLine(const Record& record) {
  std::string line = format("%s %d %d", record.kind->code, record.col, record.row);
  for (size_t i = 0; i < record.values.size(); ++i) line += " " + valueText(record.kind->params[i], record.values[i]);
  if (record.kind->text) line += " " + quoted(record.text);
  return line + "\n";
}

std::string gridBlock(const std::vector<Record>& records, size_t begin, size_t end) {
  std::vector<std::string> rows(Level::kRows, std::string(Level::kColumns, kEmptyCell));
  for (size_t i = begin; i < end; ++i) rows[records[i].row][records[i].col] = gridSymbol(records[i]);
  std::string block = "grid\n";
  for (const std::string& row : rows) block += row + "\n";
  return block + "end\n";
}

// The end of the run of records from `begin` that a grid block can hold: each one drawable
// in the grid, each in a later cell (rows top to bottom, each row left to right) than the one
// before, which is the order in which a grid block compiles.
size_t gridRunEnd(const std::vector<Record>& records, size_t begin) {
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

LevelTextResult dumpLevelText(const std::string& levelBytes) {
  ParsedLevel level;
  LevelTextResult result;
  if (!parseLevelBytes(levelBytes, level, result.message)) {
    result.ok = false;
    return result;
  }
  result.output = kHeader;
  const std::vector<Record>& records = level.records;
  for (size_t i = 0; i < records.size();) {
    size_t end = gridRunEnd(records, i);
    if (end - i >= kMinimumGridRun) {
      result.output += gridBlock(records, i, end);
      i = end;
    } else {
      result.output += recordLine(records[i++]);
    }
  }
  if (!level.trailer.empty()) result.output += trailerLine(level.trailer);
  return result;
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

Record recordFromLine(const Kind& kind, LineReader& reader) {
  Record record{&kind, 0, 0, {}, ""};
  record.col = reader.number("the column", 255);
  record.row = reader.number("the row", 255);
  for (const ParamSpec& paramSpec : kind.params) {
    std::string what = format("the %s %s", kind.name, paramSpec.name);
    if (paramSpec.type == Param::Flag) {
      record.values.push_back(reader.flag(what, paramSpec));
    } else {
      record.values.push_back(reader.number(what, paramSpec.type == Param::Channel ? kChannelCount - 1 : 255));
    }
  }
  if (kind.text) record.text = reader.quotedText();
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
  bool endsLevel = bytes.size() == 1 || (bytes.size() >= 2 && (static_cast<unsigned char>(bytes[0]) == kEndByte ||
                                                               static_cast<unsigned char>(bytes[1]) == kEndByte));
  if (!reader.failed() && !endsLevel) reader.fail("a trailer is one byte, or starts with ff in its first two bytes");
  return bytes;
}

class Compiler {
 public:
  LevelTextResult run(const std::string& text);

 private:
  void statement(const std::string& line);
  void gridRow(const std::string& line);
  void endGrid();
  void fail(const std::string& why) {
    if (result_.ok) result_ = LevelTextResult{false, "", format("line %d: %s", lineNumber_, why.c_str())};
  }

  LevelTextResult result_;
  int lineNumber_ = 0;
  int gridStart_ = 0;  // line of the open grid block's "grid", 0 when none is open
  std::vector<std::string> gridRows_;
  bool trailerSeen_ = false;
};

LevelTextResult Compiler::run(const std::string& text) {
  size_t start = 0;
  while (result_.ok && start < text.size()) {
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
  if (result_.ok && gridStart_) {
    lineNumber_ = gridStart_;
    fail("the grid has no \"end\" line");
  }
  return result_;
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
  } else if (const Kind* kind = findKind(first)) {
    bytes = recordBytes(recordFromLine(*kind, reader));
  } else {
    return fail(format("unknown kind '%s'", first.c_str()));
  }
  if (reader.failed()) return fail(reader.problem());
  result_.output += bytes;
}

void Compiler::gridRow(const std::string& line) {
  std::string trimmed = line;
  while (!trimmed.empty() && std::isspace(static_cast<unsigned char>(trimmed.back()))) trimmed.pop_back();
  if (trimmed == "end") return endGrid();
  if (gridRows_.size() == static_cast<size_t>(Level::kRows)) return fail("a grid has at most 30 rows");
  if (trimmed.size() > static_cast<size_t>(Level::kColumns)) return fail("a grid row has at most 40 columns");
  for (size_t col = 0; col < trimmed.size(); ++col) {
    char c = trimmed[col];
    if (c != kEmptyCell && c != ' ' && !symbolOf(c)) {
      return fail(format("column %zu: '%s' is not a grid symbol", col + 1, printableBytes(std::string(1, c)).c_str()));
    }
  }
  gridRows_.push_back(trimmed);
}

// A grid block compiles to one record per symbol, rows top to bottom, each row left to right.
void Compiler::endGrid() {
  for (size_t row = 0; row < gridRows_.size(); ++row) {
    for (size_t col = 0; col < gridRows_[row].size(); ++col) {
      const Symbol* symbol = symbolOf(gridRows_[row][col]);
      if (!symbol) continue;
      Record record{findKind(symbol->code), static_cast<int>(col), static_cast<int>(row), {}, ""};
      if (symbol->value >= 0) record.values.push_back(symbol->value);
      result_.output += recordBytes(record);
    }
  }
  gridStart_ = 0;
}

}  // namespace

LevelTextResult compileLevelText(const std::string& text) { return Compiler().run(text); }
