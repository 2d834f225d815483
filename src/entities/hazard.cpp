#include "entities/hazard.h"

#include "entities/avatar.h"
#include "world/world.h"

void hurtAvatarAt(World& world, std::initializer_list<Point> points, const char* reason) {
  Avatar* avatar = world.first<Avatar>();
  if (!avatar) return;
  Box target = avatar->box();
  for (const Point& point : points) {
    if (target.contains(point.x, point.y)) {
      avatar->hurt(reason);
      return;
    }
  }
}
