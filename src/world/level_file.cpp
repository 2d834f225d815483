#include "world/level_file.h"

#include <cstdio>
#include <cstdlib>

#include "app/safe_file.h"

namespace {

constexpr int kCellSize = 20;  // px: a record's column and row count whole cells

LevelFileResult failure(std::string message) { return LevelFileResult{false, std::move(message)}; }

LevelFileResult parseFailure(const char* path, const ParsedLevel& level) {
  if (!level.unknownCode.empty())
    return failure(format("UNMAPPABLE '%s'!!!", printableBytes(level.unknownCode).c_str()));
  return failure(format("MALFORMED '%s' AT BYTE %zu: %s!!!", path, level.offset, level.problem.c_str()));
}

}  // namespace

LevelFileResult readLevel(const LevelKinds& kinds, const char* path, World& world) {
  std::string bytes;
  if (!readWholeFile(path, bytes).ok) return failure(format("CANNOT OPEN '%s'!!!", path));
  ParsedLevel level = parseLevelBytes(bytes, kinds);
  if (!level.ok) return parseFailure(path, level);
  for (const ObjectRecord& record : level.records) {
    Entity* entity = record.kind->make(record.fields);
    entity->setPosition(record.col * kCellSize, record.row * kCellSize);
    world.add(entity);
  }
  return {};
}

LevelFileResult writeLevelBytes(const char* path, const std::string& bytes) {
  FileResult written = replaceFile(path, bytes);
  if (written.ok) return {};
  return failure(format(written.opened ? "CANNOT WRITE '%s'!!!" : "CANNOT OPEN '%s'!!!", path));
}

// Positions are stored as whole cells: (x truncated) / 20, low 8 bits.
LevelFileResult writeLevel(const LevelKinds& kinds, const char* path, World& world) {
  std::string bytes;
  for (Entity* entity : world.byTag(tagOf("entt"))) {
    const LevelKind* kind = kindOf(kinds, *entity);
    if (!kind) continue;
    int col = static_cast<int>(entity->x()) / kCellSize;
    int row = static_cast<int>(entity->y()) / kCellSize;
    bytes += recordBytes(ObjectRecord{kind, col, row, kind->fields(*entity)});
  }
  return writeLevelBytes(path, bytes);
}

namespace {
[[noreturn]] void exitWith(const LevelFileResult& result) {
  std::printf("%s\n", result.message.c_str());
  std::fflush(stdout);
  std::exit(1);
}
}  // namespace

void loadLevel(const LevelKinds& kinds, const char* path, World& world) {
  LevelFileResult result = readLevel(kinds, path, world);
  if (!result.ok) exitWith(result);
}

void saveLevel(const LevelKinds& kinds, const char* path, World& world) {
  LevelFileResult result = writeLevel(kinds, path, world);
  if (!result.ok) exitWith(result);
}
