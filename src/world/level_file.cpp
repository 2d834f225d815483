#include "world/level_file.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/safe_file.h"
#include "world/level_text.h"

namespace {

constexpr int kEndCode = 0xFF;  // a code byte of this value (or the end of the file) ends a level

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

LevelFileResult failure(std::string message) { return LevelFileResult{false, std::move(message)}; }

LevelFileResult malformed(const char* path, long offset, const std::string& why) {
  return failure(format("MALFORMED '%s' AT BYTE %ld: %s!!!", path, offset, why.c_str()));
}

// Reads one record whose code is already known to be mapped. The entity reads the rest of its
// record byte by byte; hitting the end of the file on the way means the record is cut short.
LevelFileResult readRecord(Entity* prototype, FILE* file, const char* path, long offset,
                           std::vector<std::unique_ptr<Entity>>& entities) {
  std::unique_ptr<Entity> entity(prototype->create());
  entity->read(file);
  if (std::feof(file) || std::ferror(file)) {
    return malformed(path, offset, format("the file ends inside the \"%s\" record", prototype->typeCode()));
  }
  std::string problem = entity->recordProblem();
  if (!problem.empty()) return malformed(path, offset, problem);
  entities.push_back(std::move(entity));
  return {};
}

}  // namespace

// A level is records back to back, with no header and no count:
//   offset 0..1  type code, two characters ("tl", "av", ...)
//   offset 2     column (x = column * 20), offset 3 row (y = row * 20)
//   offset 4...  the kind's own bytes (read by the entity)
// It ends at the first code pair that holds 0xFF or runs into the end of the file.
LevelFileResult readLevel(const PrototypeMap& prototypes, const char* path, World& world) {
  FileHandle file(std::fopen(path, "rb"));
  if (!file) return failure(format("CANNOT OPEN '%s'!!!", path));
  std::vector<std::unique_ptr<Entity>> entities;
  while (true) {
    long offset = std::ftell(file.get());
    int first = std::fgetc(file.get());
    int second = std::fgetc(file.get());
    if (first == EOF || second == EOF || first == kEndCode || second == kEndCode) break;
    std::string code{static_cast<char>(first), static_cast<char>(second)};
    auto prototype = prototypes.find(code);
    if (prototype == prototypes.end()) return failure(format("UNMAPPABLE '%s'!!!", printableBytes(code).c_str()));
    LevelFileResult result = readRecord(prototype->second, file.get(), path, offset, entities);
    if (!result.ok) return result;
  }
  // A directory opens but cannot be read: it is no empty level.
  if (std::ferror(file.get())) return failure(format("CANNOT OPEN '%s'!!!", path));
  for (std::unique_ptr<Entity>& entity : entities) world.add(entity.release());
  return {};
}

LevelFileResult writeLevelBytes(const char* path, const std::string& bytes) {
  FileResult written = replaceFile(path, bytes);
  if (written.ok) return {};
  return failure(format(written.opened ? "CANNOT WRITE '%s'!!!" : "CANNOT OPEN '%s'!!!", path));
}

// The records are gathered in memory first, so that the file is written in one piece.
LevelFileResult writeLevel(const char* path, World& world) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* memory = open_memstream(&buffer, &size);
  if (!memory) return failure(format("CANNOT WRITE '%s'!!!", path));
  for (Entity* entity : world.byTag(tagOf("entt"))) entity->write(memory);
  std::fclose(memory);
  std::string bytes(buffer, size);
  std::free(buffer);
  return writeLevelBytes(path, bytes);
}

namespace {
[[noreturn]] void exitWith(const LevelFileResult& result) {
  std::printf("%s\n", result.message.c_str());
  std::fflush(stdout);
  std::exit(1);
}
}  // namespace

void loadLevel(const PrototypeMap& prototypes, const char* path, World& world) {
  LevelFileResult result = readLevel(prototypes, path, world);
  if (!result.ok) exitWith(result);
}

void saveLevel(const char* path, World& world) {
  LevelFileResult result = writeLevel(path, world);
  if (!result.ok) exitWith(result);
}
