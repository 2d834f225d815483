#pragma once

#include <utility>
#include <vector>

#include "world/box.h"

class World;

// The base of every object in a level and of every menu widget. The world updates the
// entities of its "dyna" list and draws those of its "rndr" list. update never draws and
// draw never changes state; kill only asks the world to delete the entity at its next flush.
// What a level object keeps in a level file, and its editor label, belong to its row in the
// table of level object kinds (entities/prototypes.h), not to the entity.
class Entity {
 public:
  Entity() = default;
  Entity(const Entity&) = delete;
  Entity& operator=(const Entity&) = delete;

  virtual ~Entity() = default;
  virtual void kill();
  // Zero-terminated list of the class's tags.
  virtual const int* tags() const;
  // Sort key inside the list of a tag; lower comes first (drawn behind).
  virtual int order(int tag) const;
  virtual void update(double dt);
  virtual void draw() {}
  // A kind of entity that can draw several of its own that follow one another in the draw list
  // in fewer draw calls names the function that does it; World::draw hands it each such run
  // while drawings may be regrouped. It must give the pixels of drawing them one by one.
  using RunDrawer = void (*)(const std::vector<Entity*>& run);
  virtual RunDrawer runDrawer() const { return nullptr; }
  virtual Box box() const { return Box{}; }

  std::pair<double, double> position() const { return {xPos, yPos}; }
  double x() const { return xPos; }
  double y() const { return yPos; }
  void setPosition(double x, double y) {
    xPos = x;
    yPos = y;
  }
  void setX(double x) { xPos = x; }
  void setY(double y) { yPos = y; }

  World* world = nullptr;

 protected:
  double xPos = 0;
  double yPos = 0;
};
