#pragma once

#include <initializer_list>

class World;

struct Point {
  double x;  // px
  double y;  // px
};

// The hazard test of spikes and force fields: the world's avatar dies, for the reason given,
// when its box holds any of the points. A level without an avatar has no one to hurt.
void hurtAvatarAt(World& world, std::initializer_list<Point> points, const char* reason);
