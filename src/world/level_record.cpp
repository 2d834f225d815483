#include "world/level_record.h"

#include <cctype>
#include <typeinfo>

#include "world/channel_states.h"
#include "world/world.h"

namespace {

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

bool atLevelEnd(const ByteReader& reader) {
  return reader.left() < 2 || reader.peek(0) == kLevelEndByte || reader.peek(1) == kLevelEndByte;
}

// Reads the record after its code; false when the bytes run out first.
bool readRecordBody(ByteReader& reader, ObjectRecord& record) {
  if (reader.left() < 2 + record.kind->params.size()) return false;
  record.col = reader.next();
  record.row = reader.next();
  for (size_t i = 0; i < record.kind->params.size(); ++i) record.fields.values.push_back(reader.next());
  if (!record.kind->text) return true;
  while (reader.left() > 0) {
    char c = static_cast<char>(reader.next());
    if (c == kTextEnd) return true;
    record.fields.text += c;
  }
  return false;
}

// Why a record holds a value the game cannot use; empty when it is sound.
Result<> checkRecord(const ObjectRecord& record) {
  for (size_t i = 0; i < record.fields.values.size(); ++i) {
    int value = record.fields.values[i];
    if (record.kind->params[i].type == Param::Channel && value >= kChannelCount) {
      return fail(Failure::Malformed,
                  format("%s channel %d is outside 0 to %d", record.kind->name, value, kChannelCount - 1));
    }
  }
  return {};
}

Problem at(size_t offset, Problem failed) {
  failed.byte = static_cast<long long>(offset);
  return failed;
}

}  // namespace

const LevelKind* findKind(const LevelKinds& kinds, const std::string& code) {
  for (const LevelKind& kind : kinds) {
    if (code == kind.code) return &kind;
  }
  return nullptr;
}

const LevelKind* kindOf(const LevelKinds& kinds, const Entity& entity) {
  for (const LevelKind& kind : kinds) {
    if (*kind.type == typeid(entity)) return &kind;
  }
  return nullptr;
}

std::string recordBytes(const ObjectRecord& record) {
  std::string bytes = record.kind->code;
  bytes += static_cast<char>(record.col);
  bytes += static_cast<char>(record.row);
  for (int value : record.fields.values) bytes += static_cast<char>(value);
  if (record.kind->text) bytes += record.fields.text + kTextEnd;
  return bytes;
}

Result<ParsedLevel> parseLevelBytes(const std::string& bytes, const LevelKinds& kinds) {
  ParsedLevel level;
  ByteReader reader(bytes);
  while (!atLevelEnd(reader)) {
    size_t offset = reader.offset();
    std::string code;
    code += static_cast<char>(reader.next());
    code += static_cast<char>(reader.next());
    ObjectRecord record{findKind(kinds, code), 0, 0, {}};
    if (!record.kind) {
      Problem unknown = fail(Failure::UnknownRecord, "unknown kind '" + printableBytes(code) + "'");
      unknown.detail = printableBytes(code);
      return at(offset, unknown);
    }
    if (!readRecordBody(reader, record))
      return at(offset, fail(Failure::Malformed, format("the file ends inside the \"%s\" record", code.c_str())));
    Result<> checked = checkRecord(record);
    if (!checked.ok()) return at(offset, checked.problem());
    level.records.push_back(record);
  }
  level.trailer = reader.rest();
  return level;
}

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
