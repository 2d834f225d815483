#pragma once

#include <vector>

struct GridCell {
  int column;
  int row;
  bool operator==(const GridCell& other) const { return column == other.column && row == other.row; }
  bool operator!=(const GridCell& other) const { return !(*this == other); }
};

// The cells of the straight line from `from` to `to`, without `from` and ending with `to`,
// each touching the one before it by an edge or a corner. A fast drag jumps several cells
// between two frames; painting these fills the gap.
std::vector<GridCell> cellsAfter(GridCell from, GridCell to);
