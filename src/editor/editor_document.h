#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/geometry.h"
#include "app/load_result.h"
#include "editor/stroke_line.h"
#include "editor/undo_history.h"
#include "world/level_record.h"
#include "world/world.h"

// The level being edited, apart from the keys and the mouse that edit it: its world, the cells
// that mirror the world, the undo history, whether the level on screen is the one in its file,
// and the file itself. It needs no display.
class EditorDocument {
 public:
  static constexpr int kColumns = kGridColumns;
  static constexpr int kRows = kGridRows;

  explicit EditorDocument(std::string path);

  const std::string& path() const { return path_; }
  World& world() { return *world_; }
  // The entity in the cell, null when empty or outside the grid.
  Entity* cellAt(int column, int row) const;
  bool unsaved() const { return history_.revision() != savedRevision_; }
  // The file could not be read when it was opened; saving replaces it, so the editor asks first.
  bool broken() const { return broken_; }
  // The file no longer holds what the editor last read from it or wrote to it: another program
  // or another editor wrote it, created it or removed it since.
  bool changedOnDisk() const;

  // Reads the file into the level. A missing file is a new level; an empty one is no level worth
  // reading; one that cannot be read leaves the level empty and the document broken.
  LoadResult open();
  // Writes the level to its file; then the level is the saved one, the file no longer broken and
  // its autosave stale (removed).
  LoadResult save();
  // Writes the level to another file, which then becomes the document's file, saved. A write
  // that fails leaves the document as it was.
  LoadResult saveAs(const std::string& path);
  // Whether `path` names the document's file, by whatever way of writing it.
  bool isOwnFile(const std::string& path) const;
  // Replaces the level with the one in `path` (the file, or its autosave) as one undo step. A file
  // that cannot be read leaves the level as it was. Reading the document's own file makes the
  // level the saved one.
  LoadResult load(const std::string& path);
  // Writes the level elsewhere (the test play's copy, the autosave); it stays unsaved. The
  // document's own file is never written this way.
  LoadResult writeCopy(const std::string& path);
  // Removes the autosave beside the file: the author has thrown away what it kept.
  void discardAutosave();

  // An edit is about to change the level: the level as it is now becomes one undo step. A stroke
  // of the mouse records once, before its first change.
  void recordStep();
  // A new entity of the kind in the cell, replacing what was there; a new avatar replaces the
  // level's other ones, since every avatar adds its frame time to the level timer.
  Entity* place(GridCell at, const LevelKind& kind, const RecordFields& fields);
  // Removes the entity in the cell, if there is one.
  void erase(GridCell at);
  // Take back the last step, or bring it back; false when there is none.
  bool undo();
  bool redo();

 private:
  Entity*& cell(GridCell at) { return cells_[at.column * kRows + at.row]; }
  void restore(const LevelSnapshot& level);
  void replaceWorld(std::unique_ptr<World> level);
  void mirrorCells();
  void removeAvatars();
  void noteFileContents();

  std::string path_;
  std::unique_ptr<World> world_;
  Entity* cells_[kColumns * kRows] = {};
  UndoHistory history_;
  int savedRevision_ = 0;
  bool broken_ = false;
  std::optional<std::string> fileContents_;  // as last read or written; none when there was no file
};
