#include "editor/editor_document.h"

#include <cmath>
#include <filesystem>

#include "app/safe_file.h"
#include "editor/autosave.h"
#include "entities/avatar.h"
#include "entities/prototypes.h"
#include "world/tag.h"

namespace fs = std::filesystem;

namespace {

// An empty file is no level worth replacing the one on screen with, so it is refused before the
// loader sees it (which refuses folders itself).
LoadResult readEditedLevel(const std::string& path, World& world) {
  std::error_code error;
  if (fs::is_regular_file(path, error) && fs::file_size(path, error) == 0) {
    return loadFailure(LoadError::EmptyFile, path, format("EMPTY FILE '%s'!!!", path.c_str()));
  }
  return readLevel(path.c_str(), world);
}

// The bytes of the file now; none when it is missing or cannot be read.
std::optional<std::string> contentsOf(const std::string& path) {
  std::string bytes;
  if (!readWholeFile(path, bytes).ok) return std::nullopt;
  return bytes;
}

}  // namespace

EditorDocument::EditorDocument(std::string path) : path_(std::move(path)), world_(std::make_unique<World>()) {}

Entity* EditorDocument::cellAt(int column, int row) const {
  if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return nullptr;
  return cells_[column * kRows + row];
}

LoadResult EditorDocument::open() {
  std::error_code error;
  noteFileContents();
  if (!fs::exists(path_, error)) {
    return loadFailure(LoadError::CannotOpen, path_, format("CANNOT OPEN '%s'!!!", path_.c_str()));
  }
  auto loaded = std::make_unique<World>();
  LoadResult result = readEditedLevel(path_, *loaded);
  if (result.ok()) {
    loaded->flush();
    replaceWorld(std::move(loaded));
  } else {
    broken_ = result.error != LoadError::EmptyFile;
  }
  return result;
}

LoadResult EditorDocument::save() {
  LoadResult result = writeLevel(path_.c_str(), *world_);
  if (!result.ok()) return result;
  savedRevision_ = history_.revision();
  broken_ = false;
  noteFileContents();
  discardAutosave();
  return result;
}

LoadResult EditorDocument::saveAs(const std::string& path) {
  if (isOwnFile(path)) return save();
  LoadResult result = writeLevel(path.c_str(), *world_);
  if (!result.ok()) return result;
  path_ = path;
  savedRevision_ = history_.revision();
  broken_ = false;
  noteFileContents();
  return result;
}

bool EditorDocument::changedOnDisk() const { return contentsOf(path_) != fileContents_; }

void EditorDocument::noteFileContents() { fileContents_ = contentsOf(path_); }

void EditorDocument::discardAutosave() {
  std::error_code error;
  fs::remove(autosavePathFor(path_), error);
}

// Files that do not exist yet are told apart by their names once links and dots are resolved.
bool EditorDocument::isOwnFile(const std::string& path) const {
  std::error_code error;
  if (fs::equivalent(path, path_, error)) return true;
  std::error_code mineError, theirsError;
  fs::path mine = fs::weakly_canonical(fs::absolute(path_, mineError), mineError);
  fs::path theirs = fs::weakly_canonical(fs::absolute(path, theirsError), theirsError);
  return !mineError && !theirsError && mine == theirs;
}

// The file is read into a world of its own first, so that a failure changes nothing.
LoadResult EditorDocument::load(const std::string& path) {
  auto loaded = std::make_unique<World>();
  LoadResult result = readEditedLevel(path, *loaded);
  if (!result.ok()) return result;
  loaded->flush();
  recordStep();
  replaceWorld(std::move(loaded));
  if (isOwnFile(path)) {
    savedRevision_ = history_.revision();
    broken_ = false;
    noteFileContents();
  }
  return result;
}

LoadResult EditorDocument::writeCopy(const std::string& path) {
  if (isOwnFile(path)) {
    return loadFailure(LoadError::CannotOpen, path, format("CANNOT OPEN '%s'!!!", path.c_str()));
  }
  return writeLevel(path.c_str(), *world_);
}

void EditorDocument::recordStep() { history_.record(std::make_unique<LevelSnapshot>(*world_)); }

// The flush deletes whatever was replaced, after the cells have let go of it.
Entity* EditorDocument::place(GridCell at, const LevelKind& kind, const RecordFields& fields) {
  Entity*& occupant = cell(at);
  if (occupant) world_->remove(occupant);
  std::unique_ptr<Entity> made = kind.make(fields);
  made->setPosition(at.column * kCellSize, at.row * kCellSize);
  if (dynamic_cast<const Avatar*>(made.get())) removeAvatars();
  Entity& placed = world_->adopt(std::move(made));
  world_->flush();
  occupant = &placed;
  return &placed;
}

void EditorDocument::removeAvatars() {
  for (Avatar& avatar : world_->all<Avatar>()) {
    for (Entity*& occupant : cells_) {
      if (occupant == &avatar) occupant = nullptr;
    }
    world_->remove(&avatar);
  }
}

void EditorDocument::erase(GridCell at) {
  Entity*& occupant = cell(at);
  if (!occupant) return;
  world_->remove(occupant);
  world_->flush();
  occupant = nullptr;
}

bool EditorDocument::undo() {
  if (!history_.canUndo()) return false;
  restore(*history_.undo(std::make_unique<LevelSnapshot>(*world_)));
  return true;
}

bool EditorDocument::redo() {
  if (!history_.canRedo()) return false;
  restore(*history_.redo(std::make_unique<LevelSnapshot>(*world_)));
  return true;
}

void EditorDocument::restore(const LevelSnapshot& level) {
  auto restored = std::make_unique<World>();
  level.addCopiesTo(*restored);
  restored->flush();
  replaceWorld(std::move(restored));
}

void EditorDocument::replaceWorld(std::unique_ptr<World> level) {
  world_ = std::move(level);
  mirrorCells();
}

// Entities outside the grid stay in the level but in no cell.
void EditorDocument::mirrorCells() {
  for (Entity*& occupant : cells_) occupant = nullptr;
  for (Entity* entity : world_->byTag(tagOf("entt"))) {
    int column = static_cast<int>(std::trunc(entity->x() / kCellSize));
    int row = static_cast<int>(std::trunc(entity->y() / kCellSize));
    if (column >= 0 && column < kColumns && row >= 0 && row < kRows) cells_[column * kRows + row] = entity;
  }
}
