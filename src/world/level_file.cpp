#include "world/level_file.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/geometry.h"
#include "app/safe_file.h"

namespace {

Problem parseFailure(const char* path, const Problem& found) {
  Problem failure = found;
  failure.file = path;
  if (found.kind == Failure::UnknownRecord) {
    failure.message = format("UNMAPPABLE '%s'!!!", found.detail.c_str());
    failure.detail = format("it stops at byte %lld: unknown record '%s'", found.byte, found.detail.c_str());
    return failure;
  }
  failure.message = format("MALFORMED '%s' AT BYTE %lld: %s!!!", path, found.byte, found.message.c_str());
  failure.detail = format("it stops at byte %lld: %s", found.byte, found.message.c_str());
  return failure;
}

}  // namespace

Result<> readLevel(const LevelKinds& kinds, const char* path, World& world) {
  Result<std::string> bytes = readWholeFile(path);
  if (!bytes.ok()) {
    std::optional<std::string> kind = otherFileKind(path);
    Problem failure = fail(kind ? Failure::NotAFile : Failure::CannotOpen, format("CANNOT OPEN '%s'!!!", path), path);
    failure.detail = kind.value_or("");
    return failure;
  }
  Result<ParsedLevel> level = parseLevelBytes(bytes.value(), kinds);
  if (!level.ok()) return parseFailure(path, level.problem());
  for (const ObjectRecord& record : level.value().records) {
    Entity& entity = world.adopt(record.kind->make(record.fields));
    entity.setPosition(record.col * kCellSize, record.row * kCellSize);
  }
  return {};
}

// A write that could not begin names the system's reason as one that failed midway does.
Result<> writeLevelBytes(const char* path, const std::string& bytes) {
  Result<> written = replaceFile(path, bytes);
  if (written.ok()) return {};
  bool opened = written.kind() != Failure::CannotOpen && written.kind() != Failure::Refused;
  Problem failure = opened ? fail(Failure::CannotWrite, format("CANNOT WRITE '%s'!!!", path), path)
                           : fail(Failure::CannotOpen, format("CANNOT OPEN '%s'!!!", path), path);
  failure.detail = written.problem().message;
  return failure;
}

// Positions are stored as whole cells: (x truncated) / cell size, low 8 bits.
Result<> writeLevel(const LevelKinds& kinds, const char* path, World& world) {
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
