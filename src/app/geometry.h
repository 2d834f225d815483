#pragma once

// The screen and the level grid that covers it.
constexpr int kScreenWidth = 800;   // px
constexpr int kScreenHeight = 600;  // px
constexpr int kCellSize = 20;       // px, one grid cell and one tile
constexpr int kGridColumns = 40;
constexpr int kGridRows = 30;

static_assert(kGridColumns * kCellSize == kScreenWidth && kGridRows * kCellSize == kScreenHeight,
              "the level grid covers the screen exactly");
