#include "editor/undo_history.h"

void UndoHistory::record(std::unique_ptr<LevelSnapshot> before) {
  undoSteps.push_back(Step{std::move(before), currentRevision});
  if (undoSteps.size() > kMostSteps) undoSteps.pop_front();
  redoSteps.clear();
  currentRevision = nextRevision++;
}

std::unique_ptr<LevelSnapshot> UndoHistory::undo(std::unique_ptr<LevelSnapshot> current) {
  return travel(undoSteps, redoSteps, std::move(current));
}

std::unique_ptr<LevelSnapshot> UndoHistory::redo(std::unique_ptr<LevelSnapshot> current) {
  return travel(redoSteps, undoSteps, std::move(current));
}

// Undo and redo are the same move between the two lists, in opposite directions.
std::unique_ptr<LevelSnapshot> UndoHistory::travel(std::deque<Step>& from, std::deque<Step>& to,
                                                   std::unique_ptr<LevelSnapshot> current) {
  Step step = std::move(from.back());
  from.pop_back();
  to.push_back(Step{std::move(current), currentRevision});
  currentRevision = step.revision;
  return std::move(step.level);
}
