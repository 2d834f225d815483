#include "editor/undo_history.h"

void UndoHistory::record(std::unique_ptr<LevelSnapshot> before) {
  undoSteps.push_back(Step{std::move(before), currentRevision});
  if (undoSteps.size() > kMostSteps) undoSteps.pop_front();
  redoSteps.clear();
  currentRevision = nextRevision++;
}

std::unique_ptr<LevelSnapshot> UndoHistory::undo(std::unique_ptr<LevelSnapshot> current) {
  Step step = std::move(undoSteps.back());
  undoSteps.pop_back();
  redoSteps.push_back(Step{std::move(current), currentRevision});
  currentRevision = step.revision;
  return std::move(step.level);
}

std::unique_ptr<LevelSnapshot> UndoHistory::redo(std::unique_ptr<LevelSnapshot> current) {
  Step step = std::move(redoSteps.back());
  redoSteps.pop_back();
  undoSteps.push_back(Step{std::move(current), currentRevision});
  currentRevision = step.revision;
  return std::move(step.level);
}
