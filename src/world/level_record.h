#pragma once

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

class Entity;

// A level file is records back to back, with no header and no count:
//   offset 0..1  type code, two characters ("tl", "av", ...)
//   offset 2     column (x = column * 20), offset 3 row (y = row * 20)
//   offset 4...  one byte per parameter of the kind, then (messages only) text ended by "$"
// It ends at the first code pair that holds 0xFF or runs into the end of the file; the bytes
// after that are the trailer, which the game never reads.

constexpr int kLevelEndByte = 0xFF;  // a code byte of this value ends a level
constexpr char kTextEnd = '$';       // ends the text of a message record

enum class Param { Number, Channel, Flag };

struct ParamSpec {
  Param type;
  const char* name;                 // as the level text and its messages name it
  const char* trueWord = nullptr;   // flags: the level text's words for 1 and 0
  const char* falseWord = nullptr;  // (any non-zero byte reads as true in the game)
};

// A character of a level text grid block: a record of the kind with its one parameter at this
// value, or of a kind without parameters (value kNoValue), and what the text's legend calls it.
struct GridSymbol {
  static constexpr int kNoValue = -1;
  char symbol;
  int value;
  const char* meaning;
};

// What a record holds besides its code and position.
struct RecordFields {
  std::vector<int> values;  // one per parameter, 0 to 255
  std::string text;         // messages only
};

// One kind of level object: how its record is laid out, and what the program makes of it.
// The table of every kind is levelKinds() (entities/prototypes.h); the level file, the level
// text, the editor's palette and the simulator's trace all read it. Rows are filled field by
// field, by name.
struct LevelKind {
  const char* code = "";
  const char* name = "";  // in the level text's messages
  std::vector<ParamSpec> params;
  bool text = false;  // a text ended by "$" follows the parameters
  std::vector<GridSymbol> symbols;

  const std::type_info* type = nullptr;  // the entity class a record of this kind makes
  std::unique_ptr<Entity> (*make)(const RecordFields& fields) = nullptr;
  RecordFields (*fields)(const Entity& entity) = nullptr;
  std::string (*label)(const RecordFields& fields) = nullptr;  // what the editor shows
  std::vector<RecordFields> palette = {RecordFields{}};        // the editor's choices, in order
  // The trace fields after "<code> <x> <y>"; null for a kind the trace leaves out.
  std::string (*trace)(const Entity& entity) = nullptr;
};

using LevelKinds = std::vector<LevelKind>;

const LevelKind* findKind(const LevelKinds& kinds, const std::string& code);
// The kind of the entity's class, null for an entity that lives in no level file (a cloud).
const LevelKind* kindOf(const LevelKinds& kinds, const Entity& entity);

struct ObjectRecord {
  const LevelKind* kind;
  int col;
  int row;
  RecordFields fields;
};

std::string recordBytes(const ObjectRecord& record);

struct ParsedLevel {
  bool ok = true;
  std::vector<ObjectRecord> records;
  std::string trailer;
  // On a problem: the offset of the record at fault, and either its unknown code or what is
  // wrong with it.
  size_t offset = 0;
  std::string unknownCode;
  std::string problem;
};

ParsedLevel parseLevelBytes(const std::string& bytes, const LevelKinds& kinds);

// Bytes as text with every byte that is not printable ASCII shown as \xNN (for messages that
// quote a file's content, such as an unknown type code).
std::string printableBytes(const std::string& bytes);
