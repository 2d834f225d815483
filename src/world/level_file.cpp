#include "world/level_file.h"

#include <cstdio>
#include <cstdlib>

#include "app/geometry.h"
#include "app/safe_file.h"

namespace {

LevelFileResult parseFailure(const char* path, const ParsedLevel& level) {
  LevelFileResult failure;
  if (!level.unknownCode.empty()) {
    std::string code = printableBytes(level.unknownCode);
    failure = loadFailure(LoadError::UnknownRecord, path, format("UNMAPPABLE '%s'!!!", code.c_str()));
    failure.detail = format("it stops at byte %zu: unknown record '%s'", level.offset, code.c_str());
    return failure;
  }
  failure = loadFailure(LoadError::MalformedRecord, path,
                        format("MALFORMED '%s' AT BYTE %zu: %s!!!", path, level.offset, level.problem.c_str()));
  failure.detail = format("it stops at byte %zu: %s", level.offset, level.problem.c_str());
  return failure;
}

}  // namespace

LevelFileResult readLevel(const LevelKinds& kinds, const char* path, World& world) {
  std::string bytes;
  if (!readWholeFile(path, bytes).ok) {
    std::string kind = otherFileKind(path);
    LoadResult failure = loadFailure(kind.empty() ? LoadError::CannotOpen : LoadError::NotAFile, path,
                                     format("CANNOT OPEN '%s'!!!", path));
    failure.detail = kind;
    return failure;
  }
  ParsedLevel level = parseLevelBytes(bytes, kinds);
  if (!level.ok) return parseFailure(path, level);
  for (const ObjectRecord& record : level.records) {
    Entity& entity = world.adopt(record.kind->make(record.fields));
    entity.setPosition(record.col * kCellSize, record.row * kCellSize);
  }
  return {};
}

LevelFileResult writeLevelBytes(const char* path, const std::string& bytes) {
  FileResult written = replaceFile(path, bytes);
  if (written.ok) return {};
  LoadResult failure = written.opened ? loadFailure(LoadError::CannotWrite, path, format("CANNOT WRITE '%s'!!!", path))
                                      : loadFailure(LoadError::CannotOpen, path, format("CANNOT OPEN '%s'!!!", path));
  failure.detail = written.reason;
  return failure;
}

// Positions are stored as whole cells: (x truncated) / cell size, low 8 bits.
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
