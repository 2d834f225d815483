#pragma once

// A collision box in pixels. A point is inside when left <= x < right and top <= y < bottom;
// two boxes overlap when they overlap or merely touch.
struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;

  bool contains(double px, double py) const { return left <= px && px < right && top <= py && py < bottom; }
  bool overlaps(const Box& other) const {
    return other.right >= left && other.left <= right && other.bottom >= top && other.top <= bottom;
  }
};
