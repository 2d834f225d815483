#pragma once

#include <deque>
#include <memory>

#include "editor/level_snapshot.h"

// Undo and redo as whole-level snapshots: before each step the editor hands over the level as
// it was. Every level state carries a revision number, so that the editor can tell whether
// the level on screen is the one last saved, even after undoing back to it.
class UndoHistory {
 public:
  static constexpr size_t kMostSteps = 500;

  // A step is about to change the level, which is `before` now; redo is no longer possible.
  void record(std::unique_ptr<LevelSnapshot> before);
  bool canUndo() const { return !undoSteps.empty(); }
  bool canRedo() const { return !redoSteps.empty(); }
  // Swap the level on screen (`current`) for the one before or after it; returns that one.
  std::unique_ptr<LevelSnapshot> undo(std::unique_ptr<LevelSnapshot> current);
  std::unique_ptr<LevelSnapshot> redo(std::unique_ptr<LevelSnapshot> current);

  int revision() const { return currentRevision; }

 private:
  struct Step {
    std::unique_ptr<LevelSnapshot> level;
    int revision;
  };

  std::unique_ptr<LevelSnapshot> travel(std::deque<Step>& from, std::deque<Step>& to,
                                        std::unique_ptr<LevelSnapshot> current);

  std::deque<Step> undoSteps;
  std::deque<Step> redoSteps;
  int currentRevision = 0;
  int nextRevision = 1;
};
