#include "editor/stroke_line.h"

#include <cstdlib>

// Bresenham's line, stepping along both axes at once on a diagonal.
std::vector<GridCell> cellsAfter(GridCell from, GridCell to) {
  std::vector<GridCell> cells;
  const int width = std::abs(to.column - from.column);
  const int height = -std::abs(to.row - from.row);
  const int columnStep = from.column < to.column ? 1 : -1;
  const int rowStep = from.row < to.row ? 1 : -1;
  int error = width + height;
  GridCell at = from;
  while (at != to) {
    const int doubled = 2 * error;
    if (doubled >= height) {
      error += height;
      at.column += columnStep;
    }
    if (doubled <= width) {
      error += width;
      at.row += rowStep;
    }
    cells.push_back(at);
  }
  return cells;
}
